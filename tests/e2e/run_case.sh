#!/usr/bin/env bash
# Runs the program on one end-to-end case (see case_lib.sh) and checks its
# standard output byte for byte, its exit status (always 0), that nothing
# goes to standard error, and the number of key prompts.
#
# Usage: run_case.sh PROGRAM CASE_DIR EXAMPLES_DIR [EMULATOR...]
set -u
source "$(dirname "$0")/case_lib.sh"
program=$1
prepare_case "$2" "$3"
emulator=("${@:4}")

run_program "$program" "$work/stdout" "$work/stderr"
status=$?
failed=0
if [[ $status -ne 0 ]]; then
    echo "exit status $status, expected 0"
    failed=1
fi
if [[ -s $work/stderr ]]; then
    echo "unexpected standard error:"
    head -c 4000 "$work/stderr"
    failed=1
fi
if ! cmp -s "$run_dir/expected" "$work/stdout"; then
    echo "standard output differs from the case's expected output (- expected, + actual):"
    diff -u --text "$run_dir/expected" "$work/stdout" | head -n 60 | cut -c 1-300
    failed=1
fi
prompts=$(count_prompts "$work/stdout")
if [[ $prompts -ne $(cat "$run_dir/prompts") ]]; then
    echo "$prompts prompts, expected $(cat "$run_dir/prompts")"
    failed=1
fi
exit $failed

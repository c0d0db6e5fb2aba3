#!/usr/bin/env bash
# Fails every allocation of one end-to-end case in turn, with a build that has
# the allocation seam, and checks each run: the memory message appears once,
# where the case's alloc-failures file says (the number of prompts printed
# before it, one line per allocation in the order the run makes them); the
# output before it is the normal output up to that point; after it comes only
# the final pause; the exit status is 0 and nothing goes to standard error
# (where the sanitizer would report a leak). A run with one allocation more
# than the file lists must fail nothing and print the normal output.
#
# Usage: fail_allocations.sh PROGRAM CASE_DIR EXAMPLES_DIR [EMULATOR...]
set -u
source "$(dirname "$0")/case_lib.sh"
program=$1
prepare_case "$2" "$3"
emulator=("${@:4}")

message=$'Erro de falta de memoria.\n'
final_pause=$'\nPressione uma tecla para continuar...\n'
mapfile -t prompts_before <"$run_dir/alloc-failures"
allocations=${#prompts_before[@]}
failed=0
for ((n = 1; n <= allocations + 1; n++)); do
    out=$work/stdout.$n
    ORDIMET_FAIL_ALLOCATION=$n run_program "$program" "$out" "$work/stderr"
    status=$?
    if [[ $status -ne 0 || -s $work/stderr ]]; then
        echo "allocation $n: exit status $status, standard error:"
        head -c 4000 "$work/stderr"
        failed=1
        continue
    fi
    if ((n > allocations)); then
        cmp -s "$out" "$run_dir/expected" || { echo "run without a failure differs"; failed=1; }
        continue
    fi
    if [[ $(grep -c -a -x 'Erro de falta de memoria\.' "$out") -ne 1 ]]; then
        echo "allocation $n: the memory message is not there exactly once"
        failed=1
        continue
    fi
    offset=$(grep -b -a -x 'Erro de falta de memoria\.' "$out" | cut -d: -f1)
    head -c "$offset" "$out" >"$work/before"
    tail -c +$((offset + ${#message} + 1)) "$out" >"$work/after"
    if ! cmp -s -n "$offset" "$work/before" "$run_dir/expected"; then
        echo "allocation $n: the output before the message is not the normal output"
        failed=1
    fi
    if [[ $(count_prompts "$work/before") -ne ${prompts_before[n - 1]} ]]; then
        echo "allocation $n: $(count_prompts "$work/before") prompts before the message," \
            "expected ${prompts_before[n - 1]}"
        failed=1
    fi
    if [[ $(cat "$work/after"; echo x) != "${final_pause}x" ]]; then
        echo "allocation $n: the run goes on after the message:"
        head -c 400 "$work/after"
        failed=1
    fi
done
exit $failed

#!/usr/bin/env bash
# Runs the program on one end-to-end case and checks what it did.
#
# Usage: run_case.sh PROGRAM CASE_DIR EXAMPLES_DIR
#
# A case directory holds:
#   args      the command-line arguments, one per line (a line "@NAME" stands
#             for the file NAME of the examples directory)
#   expected  the exact standard output
#   prompts   the number of key prompts the run must print
#   setup     optional: a bash script run first in a scratch copy of the case
#             to make inputs that are impractical to commit
#   any method files the arguments name, relative to the case directory.
# The program runs in the case directory (or its scratch copy), in a new
# session without a controlling terminal, so every pause returns at once.
set -u
program=$1
case_dir=$2
examples=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
run_dir=$case_dir
if [[ -f $case_dir/setup ]]; then
    run_dir=$work/case
    cp -R "$case_dir" "$run_dir"
    (cd "$run_dir" && bash ./setup) || { echo "setup failed"; exit 1; }
fi

args=()
if [[ -f $case_dir/args ]]; then
    while IFS= read -r line || [[ -n $line ]]; do
        if [[ $line == @* ]]; then
            line=$examples/${line#@}
        fi
        args+=("$line")
    done <"$case_dir/args"
fi

actual=$work/stdout
errors=$work/stderr
(cd "$run_dir" && setsid -w timeout -s KILL 30 "$program" "${args[@]}" <"/dev/null" >"$actual" 2>"$errors")
status=$?

failed=0
if [[ $status -ne 0 ]]; then
    echo "exit status $status, expected 0"
    failed=1
fi
if [[ -s $errors ]]; then
    echo "unexpected standard error:"
    cat "$errors"
    failed=1
fi
if ! cmp -s "$case_dir/expected" "$actual"; then
    echo "standard output differs from $case_dir/expected (- expected, + actual):"
    diff -u --text "$case_dir/expected" "$actual" | head -n 60
    failed=1
fi
want_prompts=$(cat "$case_dir/prompts")
got_prompts=$(grep -c -a '^Pressione uma tecla para continuar\.\.\.$' "$actual")
if [[ $got_prompts -ne $want_prompts ]]; then
    echo "$got_prompts prompts, expected $want_prompts"
    failed=1
fi
exit $failed

#!/usr/bin/env bash
# Runs ordimet-analyse on one end-to-end case and compares its standard
# output and standard error byte for byte and its exit status with the case's
# expectations; JSON output is also validated against the schema.
#
# A case directory holds:
#   args    the command-line arguments, one per line; a line "@NAME" stands
#           for the file NAME of the examples directory, "%NAME" for the file
#           NAME of the test data directory, anything else is taken as it is
#           (method files of the case are named relative to the case)
#   stdout  the exact standard output
#   stderr  the exact standard error (absent: it must be empty)
#   status  the exit status (absent: 0)
#   setup   optional: a bash script run first in a scratch copy of the case,
#           to make inputs impractical to commit (unreadable files and such)
#   limit   optional: the seconds the run may take at most (absent: 60); a
#           run killed at the limit fails on its exit status
#
# Usage: run_case.sh PROGRAM CASE_DIR EXAMPLES_DIR DATA_DIR SCHEMA
# With UPDATE=1 in the environment the expectations are rewritten from the
# run instead of compared (review the difference before committing it).
set -u
program=$1 case_dir=$2 examples=$3 data=$4 schema=$5
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
trap 'chmod -R u+rwx "$work" 2>/dev/null; rm -rf "$work"' EXIT
# The program runs in a scratch copy of the case, where "examples" and "data"
# lead to the two folders of method files, so that the names in the expected
# output are short and don't depend on where the source tree is.
run_dir=$work/case
cp -R "$case_dir" "$run_dir"
ln -s "$(realpath "$examples")" "$run_dir/examples"
ln -s "$(realpath "$data")" "$run_dir/data"
if [[ -f $run_dir/setup ]]; then
    (cd "$run_dir" && bash ./setup) || { echo "setup failed"; exit 1; }
fi
args=()
if [[ -f $run_dir/args ]]; then
    while IFS= read -r line || [[ -n $line ]]; do
        case $line in
        @*) line=examples/${line#@} ;;
        %*) line=data/${line#%} ;;
        esac
        args+=("$line")
    done <"$run_dir/args"
fi

limit=60
[[ -f $case_dir/limit ]] && limit=$(cat "$case_dir/limit")
# No terminal and no standard input: the program must never wait for either.
(cd "$run_dir" && setsid -w timeout -s KILL "$limit" "$program" "${args[@]}" </dev/null \
    >"$work/stdout" 2>"$work/stderr")
status=$?

if [[ ${UPDATE:-0} == 1 ]]; then
    cp "$work/stdout" "$case_dir/stdout"
    if [[ -s $work/stderr ]]; then
        cp "$work/stderr" "$case_dir/stderr"
    else
        rm -f "$case_dir/stderr"
    fi
    if [[ $status -ne 0 ]]; then
        echo "$status" >"$case_dir/status"
    else
        rm -f "$case_dir/status"
    fi
    echo "updated $case_dir"
fi

failed=0
expected_status=0
[[ -f $case_dir/status ]] && expected_status=$(cat "$case_dir/status")
if [[ $status -ne $expected_status ]]; then
    echo "exit status $status, expected $expected_status"
    failed=1
fi
if ! cmp -s "$case_dir/stdout" "$work/stdout"; then
    echo "standard output differs (- expected, + actual):"
    diff -u --text "$case_dir/stdout" "$work/stdout" | head -n 80 | cut -c 1-300
    failed=1
fi
expected_stderr=/dev/null
[[ -f $case_dir/stderr ]] && expected_stderr=$case_dir/stderr
if ! cmp -s "$expected_stderr" "$work/stderr"; then
    echo "standard error differs (- expected, + actual):"
    diff -u --text "$expected_stderr" "$work/stderr" | head -n 40 | cut -c 1-300
    failed=1
fi
# JSON output is validated whenever there is some (a usage error has none).
if [[ -s $work/stdout ]] && printf '%s\n' "${args[@]}" | grep -qx -- --json; then
    mode=document
    printf '%s\n' "${args[@]}" | grep -qx -- --each && mode=lines
    "$here/validate_json.sh" "$schema" "$mode" "$work/stdout" || failed=1
fi
exit $failed

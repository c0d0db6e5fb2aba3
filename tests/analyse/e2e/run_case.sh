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

# same EXPECTED ACTUAL WHAT: compares two files, the expected one absent
# standing for an empty one; with UPDATE=1 the expected one is rewritten.
failed=0
same() {
    if [[ ${UPDATE:-0} == 1 ]]; then
        if [[ -s $2 || $1 == */stdout ]]; then cp "$2" "$1"; else rm -f "$1"; fi
    fi
    local expected=$1
    [[ -f $expected ]] || expected=/dev/null
    if ! cmp -s "$expected" "$2"; then
        echo "$3 differs (- expected, + actual):"
        diff -u --text "$expected" "$2" | head -n 80 | cut -c 1-300
        failed=1
    fi
}
[[ $status -ne 0 ]] && echo "$status" >"$work/status" || : >"$work/status"
same "$case_dir/stdout" "$work/stdout" "standard output"
same "$case_dir/stderr" "$work/stderr" "standard error"
same "$case_dir/status" "$work/status" "exit status"
# JSON output is validated whenever there is some (a usage error has none).
if [[ -s $work/stdout ]] && printf '%s\n' "${args[@]}" | grep -qx -- --json; then
    mode=document
    printf '%s\n' "${args[@]}" | grep -qx -- --each && mode=lines
    "$here/validate_json.sh" "$schema" "$mode" "$work/stdout" || failed=1
fi
exit $failed

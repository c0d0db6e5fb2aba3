#!/usr/bin/env bash
# ordimet-analyse analyses every method file of the examples folder: as one
# batch in JSON (exit status 0, one valid line per file, none an error) and
# one by one as a simple method in text (exit status 0, a report, nothing on
# standard error).
# Usage: every_example.sh PROGRAM EXAMPLES_DIR SCHEMA
set -u
program=$1 examples=$2 schema=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

files=("$examples"/*.txt)
failed=0
"$program" --json --each "${files[@]}" </dev/null >"$work/out" 2>"$work/err"
status=$?
if [[ $status -ne 0 || -s $work/err ]]; then
    echo "--each --json over the examples: exit status $status"
    head -c 2000 "$work/err"
    failed=1
fi
if [[ $(wc -l <"$work/out") -ne ${#files[@]} ]]; then
    echo "--each --json: $(wc -l <"$work/out") lines for ${#files[@]} files"
    failed=1
fi
if grep -q '"error":' "$work/out"; then
    echo "--each --json: an example was refused:"
    grep '"error":' "$work/out" | head -n 5
    failed=1
fi
"$here/validate_json.sh" "$schema" lines "$work/out" || failed=1

for file in "${files[@]}"; do
    "$program" SI "$file" </dev/null >"$work/out" 2>"$work/err"
    status=$?
    if [[ $status -ne 0 || -s $work/err || ! -s $work/out ]]; then
        echo "SI $file: exit status $status"
        head -c 2000 "$work/err"
        failed=1
    fi
done
exit $failed

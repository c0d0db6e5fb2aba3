#!/usr/bin/env bash
# Output of ordimet-design that fails while it is written: a method file at
# the file-size limit, of which nothing is left, and a standard output that
# is a pipe without a reader. Each failure is said on standard error with
# exit status 1, never a death by SIGXFSZ or SIGPIPE.
#
# Usage: output_gone.sh PROGRAM
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failed=0

errors=$(bash -c 'ulimit -f 0; exec "$0" bdf 4 --output big.txt' "$program" 2>&1)
status=$?
if [[ $status != 1 || $errors != "ordimet-design: nao foi possivel escrever big.txt." ||
    -n $(ls -A | grep -e '^big' -e '^\.') ]]; then
    echo "size limit: exit status $status, standard error: $errors, left: $(ls -A)"
    failed=1
fi

# The reader has gone before the program writes; SIGPIPE as the default.
errors=$(python3 -c '
import os, subprocess, sys
r, w = os.pipe()
os.close(r)
run = subprocess.run([sys.argv[1], "bdf", "4"], stdout=w, stderr=subprocess.PIPE)
print(run.returncode, run.stderr.decode(), end="")' "$program")
if [[ $errors != "1 ordimet-design: erro ao escrever a saida." ]]; then
    echo "closed pipe: exit status and standard error: $errors"
    failed=1
fi
exit $failed

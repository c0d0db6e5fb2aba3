#!/usr/bin/env bash
# A cyclic method of 1001 copies of Euler's method: the augmented matrix
# would have dimension 1001, above the 1000 that ordimet builds, so neither
# the raise nor the exponential test is made; the rest of the report is.
# Usage: large_cycle.sh PROGRAM EXAMPLES_DIR
set -u
program=$1 examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
euler=$(<"$examples/euler-forward.txt")
for ((i = 1000; i <= 2000; ++i)); do printf '%s\n' "$euler" >"$work/euler-$i.txt"; done
(cd "$work" && "$program" CI euler-*.txt </dev/null >"$work/out" 2>"$work/err")
status=$?
failed=0
[[ $status -eq 0 && ! -s $work/err ]] || { echo "exit status $status"; cat "$work/err"; failed=1; }
for line in "Matriz aumentada de dimensao 1001, acima de 1000: o aumento da consistencia" \
    "A ordem de consistencia exata do metodo e' 1." "O ciclo e' zero-estavel." \
    "Teste da exponencial do ordimet: nao feito"; do
    grep -qxF -- "$line" "$work/out" || { echo "missing: $line"; failed=1; }
done
exit $failed

#!/usr/bin/env python3
"""Keeps cycles.txt honest: integrates rows of the table again and compares.

    python3 check_cycles.py [--all] [--digits D]

First checks the exact root condition on cases known by hand; then a fixed
sample of rows (every seventh, from the first), or every row with --all: each cycle must still be zero-stable (exact test) and integrate
to the settled order and the observed orders (to the printed two decimals)
that the table records. With --digits the integration runs at that fixed
precision (e.g. 160, twice the usual, to show round-off plays no part).
Ends with the line "N passed, M failed" and exits 1 on any failure.

A check of committed test data, run by hand after changing the generators or
integrate.py (kept in tools/: no test runs it).
"""

import argparse
import os
import sys

# exact.py puts tests/analyse/reference (methods.py, the data) on the path.
from exact import REFERENCE, cycle_zero_stable
from integrate import integrate, method_order, order_text
from methods import poly_mul, read_method, root_condition

DATA = os.path.join(REFERENCE, "..", "data")

# (polynomial, largest multiplicity allowed on the circle, verdict)
ROOT_CASES = [
    ([1, 0, 1], 1, True),  # +-i
    (poly_mul([1, 0, 1], [1, 0, 1]), 1, False),  # +-i twice
    (poly_mul([1, 0, 1], [1, 0, 1]), 2, True),
    ([-1, 1, -1, 1], 1, True),  # (z - 1)(z^2 + 1)
    ([2, -5, 2], 1, False),  # 2 and 1/2
    ([1, 1, 1], 1, True),  # cube roots of unity but 1
    (poly_mul([1, -3, 1], [1, 1]), 1, False),  # (3 +- sqrt 5)/2 and -1
    ([1, -2, 1], 2, True),  # y'' = f: the double root 1
    ([1, 0, 0, 0, 4], 1, True),  # 4 z^4 + 1: |z| = 1/sqrt 2
    ([4, 0, 0, 0, 1], 1, False),  # z^4 + 4: |z| = sqrt 2
]


def root_cases():
    """Failures among the hand-known root conditions and cycle verdicts."""
    failures = [str(p) for p, mult, verdict in ROOT_CASES if root_condition(p, mult) != verdict]
    for name, verdict in (("cycle-stable-of-unstable", True), ("cycle-unstable-of-stable", False)):
        a_list = [read_method(os.path.join(DATA, f"{name}-{i}.txt"))[2] for i in (1, 2)]
        if cycle_zero_stable(a_list) != verdict:
            failures.append(name)
    return failures


def table_rows(path):
    """(files, settled order, [observed orders text per problem]) per row."""
    rows = []
    with open(path) as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            files, total, *observed = [x.strip() for x in line.split("|")]
            rows.append((files.split(), int(total), observed))
    return rows


def check_row(files, total, observed, digits):
    """None when the row holds, else what differs."""
    methods = [read_method(os.path.join(REFERENCE, f)) for f in files]
    if not cycle_zero_stable([x[2] for x in methods]):
        return "not zero-stable"
    _, results = integrate(methods, digits=digits)
    again = [" ".join(order_text(o) for o in r[2]) for _, r in results]
    if method_order(results) != total or again != observed:
        return f"integrates to {method_order(results)} | {' | '.join(again)}"
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--all", action="store_true")
    parser.add_argument("--digits", type=int)
    args = parser.parse_args()
    rows = table_rows(os.path.join(REFERENCE, "cycles.txt"))
    if not args.all:
        rows = rows[::7]
    failures = root_cases()
    for failure in failures:
        print(f"FAIL root condition of {failure}")
    passed, failed = len(ROOT_CASES) + 2 - len(failures), len(failures)
    for files, total, observed in rows:
        problem = check_row(files, total, observed, args.digits)
        if problem:
            failed += 1
            print(f"FAIL {' '.join(files)}: {problem}")
        else:
            passed += 1
    print(f"{passed} passed, {failed} failed")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()

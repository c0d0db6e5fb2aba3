#!/usr/bin/env python3
"""Integrated orders of the example methods, as written and as the classical
fractions they stand for; writes tests/analyse/reference/examples_orders.txt.

    python3 examples_orders.py [EXAMPLES_FOLDER]

Every method file of the examples (SI) and the cyclic pairs of their README
(CI) is integrated by integrate.py twice:
  written    the coefficients exactly as written (a 10-digit decimal is the
             decimal, not the fraction it approximates);
  fractions  the classical fractions the file stands for: the exact
             derivation of decimal_versions.py for the Adams, BDF, Stormer
             and Cowell files, else every decimal of 10 or more significant
             digits read as the simplest fraction within half a unit of its
             last digit (shorter decimals taken as written); where both
             exist they must agree.
A reading that is not zero-stable is not integrated ("not zero-stable"),
nor one whose new value is not determined ("not computable"); "unsettled"
means the last two observed orders on h = 1/20 .. 1/1280 (2 pi / N for
y'' = -y) don't settle within 0.1 of an integer, nor on h = 1/20 .. 1/10240
(10 sizes), which is tried then and marked so.

A generator of committed reference data, kept in tools/: no test runs it.
"""

import math
import os
import re
import sys
from fractions import Fraction as F

# exact.py puts tests/analyse/reference (methods.py, the data) on the path.
from exact import REFERENCE, cycle_zero_stable, order, zero_stable
import decimal_versions
from integrate import integrate, method_order, order_text
from methods import simplest_between

CYCLES = [
    ["euler-forward.txt", "euler-backward.txt"],
    ["cyclic-order-3-explicit.txt", "cyclic-order-3-implicit.txt"],
    ["adams-bashforth-2.txt", "cyclic-adams-order-3-implicit.txt"],
    ["nystrom-2.txt", "milne-simpson.txt"],
    ["cyclic-stable-of-unstable-1.txt", "cyclic-stable-of-unstable-2.txt"],
]


def fraction_reading(token):
    """A decimal of 10 or more significant digits as the simplest fraction
    within half a unit of its last digit (with 15 or more digits, or within
    the reals that round to the same double); anything else exactly as
    written."""
    match = re.fullmatch(r"[-+]?(\d*)\.?(\d*)(?:[eE]([-+]?\d+))?", token)
    if not match or "." not in token:
        return F(token)
    whole, decimals, exponent = match.group(1), match.group(2), int(match.group(3) or 0)
    digits = len((whole + decimals).lstrip("0"))
    if digits < 10:
        return F(token)
    half_unit = F(1, 2) * F(10) ** (exponent - len(decimals))
    lo, hi = F(token) - half_unit, F(token) + half_unit
    if digits >= 15:
        double, half_ulp = F(float(token)), F(math.ulp(float(token))) / 2
        lo, hi = min(lo, double - half_ulp), max(hi, double + half_ulp)
    return simplest_between(lo, hi)


def read_tokens(path):
    with open(path) as f:
        tokens = f.read().split()
    return int(tokens[0]), int(tokens[1]), tokens[2:]


def readings(path):
    """(written, fractions, source) as (k, m, A, B) tuples and a note."""
    k, m, tokens = read_tokens(path)
    written = [F(t) for t in tokens]
    read = [fraction_reading(t) for t in tokens]
    source = "simplest fractions of the long decimals"
    name = os.path.basename(path)[: -len(".txt")]
    derived = {c[0]: c for c in decimal_versions.catalogue()}
    family = {"euler-backward": "bdf-1", "trapezoidal-rule": "adams-moulton-1",
              "stormer": "stormer-2", "numerov": "cowell-2"}.get(name, name)
    if family in derived and derived[family][1] == k:
        exact = derived[family][3] + derived[family][4]
        if len(tokens) == len(exact) and all(abs(x - y) <= F(1, 10**9) for x, y in zip(written, exact)):
            # The two routes agree wherever the simplest fraction was taken.
            assert all(r == x or r == F(t) for r, x, t in zip(read, exact, tokens)), name
            read, source = exact, f"derivation of {family}"
    split = lambda v: (k, m, v[: k + 1], v[k + 1 :])  # noqa: E731
    return split(written), split(read), source


def integrated(methods, kind):
    """The settled integrated order of a reading as text, or why not."""
    a_list = [x[2] for x in methods]
    m = methods[0][1]
    if any(x[2][-1] == 0 and x[3][-1] == 0 for x in methods):
        return "not computable"
    stable = zero_stable(m, a_list[0]) if kind == "SI" else cycle_zero_stable(a_list)
    if not stable:
        return "not zero-stable"
    for sizes in (7, 10):
        try:
            _, results = integrate(methods, sizes=sizes)
        except ZeroDivisionError:
            return "not computable"
        total = method_order(results)
        if total is not None:
            break
    lasts = "; ".join(" ".join(order_text(o) for o in r[2][-2:]) for _, r in results)
    more = "" if sizes == 7 else f", {sizes} sizes"
    return f"{total if total is not None else 'unsettled'} ({lasts}{more})"


def exact_order(methods):
    orders = [order(x[1], x[2], x[3]) for x in methods]
    return "none" if any(o is None for o in orders) else str(min(orders))


def row(folder, names, kind):
    pairs = [readings(os.path.join(folder, n)) for n in names]
    written, fractions = [p[0] for p in pairs], [p[1] for p in pairs]
    sources = sorted({p[2] for p in pairs})
    return " | ".join(
        [" ".join(names), kind, exact_order(written), integrated(written, kind), exact_order(fractions),
         integrated(fractions, kind), ", ".join(sources)]
    )


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(REFERENCE, "..", "..", "..", "examples")
    names = sorted(n for n in os.listdir(folder) if n.endswith(".txt"))
    lines = [
        "# Integrated orders of the example methods, from examples_orders.py (see its docstring).",
        "# Columns: file(s) | kind | exact order as written | integrated as written |",
        "#   exact order of the fractions | integrated with the fractions | where the fractions come from.",
        "# Exact order: q - m, the smallest of a cycle's algorithms. Integrated: the settled order on",
        "# h = H .. H/64 (or H/512 where marked \"10 sizes\") and, in parentheses, the last two observed",
        "# orders of each test problem.",
    ]
    lines += [row(folder, [n], "SI") for n in names]
    lines += [row(folder, c, "CI") for c in CYCLES]
    with open(os.path.join(REFERENCE, "examples_orders.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")
    print("\n".join(lines))


if __name__ == "__main__":
    main()

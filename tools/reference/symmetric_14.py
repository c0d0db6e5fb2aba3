#!/usr/bin/env python3
"""A symmetric explicit 14-step method of order 14 for y'' = f, exactly.

    python3 symmetric_14.py

rho = (z - 1)^2 times the six quadratics z^2 - 2 c z + 1 for the c below
(their roots e^(+-i arccos c) on the unit circle), scaled to integers;
sigma symmetric (B[j] = B[14 - j]) with B[0] = B[14] = 0, its seven values
solved exactly from the order conditions C_2 .. C_15 = 0 (C_0 = C_1 = 0 by
the double root 1; for a symmetric method the odd conditions about the
middle hold by themselves, so seven independent conditions remain).
Checks exactly: C_0 .. C_15 = 0 and C_16 != 0 (order 14), symmetry, the
root condition of rho for y'' = f (the double root 1, every other root
simple on the circle). Writes into tests/analyse/reference
  symmetric-14-exact.txt     sigma as fractions p/q
  symmetric-14-17digits.txt  sigma as the shortest decimals that read back
                             as the nearest double (Python's repr)
  symmetric-14.txt           the report: largest denominator, each written
                             decimal's distance from the exact value in
                             units of half its last digit and the simplest
                             fraction the decimal alone would be read as,
                             and the integrated orders of both files
                             (integrate.py's problems for m = 2).

A generator of committed reference data, kept in tools/: no test runs it.
"""

import math
import os
from fractions import Fraction as F

# exact.py puts tests/analyse/reference (methods.py, the data) on the path.
from exact import REFERENCE, error_coefficient, rank, solve, write_method
from examples_orders import fraction_reading
from integrate import integrate, method_order, error_text, order_text
from methods import poly_mul, read_method, root_condition

K, M = 14, 2
COSINES = [F(x) for x in ("-3/4", "-1/2", "-1/4", "0", "1/4", "1/2")]
START = 20


def rho():
    """A as integers: (z - 1)^2 prod (z^2 - 2 c z + 1), times the lcm."""
    p = [F(1), F(-2), F(1)]
    for c in COSINES:
        p = poly_mul(p, [F(1), -2 * c, F(1)])
    scale = math.lcm(*(x.denominator for x in p))
    return [x * scale for x in p]


def sigma(a):
    """The symmetric B with B[0] = B[14] = 0 of the highest order."""
    unknowns = range(1, K // 2 + 1)

    def unit(j):
        b = [F(0)] * (K + 1)
        b[j] = b[K - j] = F(1)
        return b

    rows, rhs = [], []
    for i in range(M, K + 2):
        row = [error_coefficient(i, M, [F(0)] * (K + 1), unit(j)) for j in unknowns]
        if rank(rows + [row]) > len(rows):
            rows.append(row)
            rhs.append(-error_coefficient(i, M, a, [F(0)] * (K + 1)))
    b = [F(0)] * (K + 1)
    for j, v in zip(unknowns, solve(rows, rhs)):
        b[j] = b[K - j] = v
    return b


def half_units(exact, text):
    """|exact - text| in units of half the last digit of the decimal text."""
    mantissa, _, exponent = text.lower().partition("e")
    decimals = len(mantissa.partition(".")[2])
    half = F(1, 2) * F(10) ** (int(exponent or 0) - decimals)
    return abs(exact - F(text)) / half


def integration_lines(path, start):
    _, results = integrate([path], start=start)
    lines = []
    for problem, (steps, errors, orders, settled, digits) in results:
        lines.append(f"  {problem.name} ({digits} digits): N = {steps[0]} .. {steps[-1]}")
        lines.append("    errors: " + " ".join(error_text(e) for e in errors))
        lines.append("    observed orders: " + " ".join(order_text(o) for o in orders))
    total = method_order(results)
    lines.append(f"  settled order: {total if total is not None else 'unsettled'}")
    return lines


def main():
    a = rho()
    b = sigma(a)
    assert all(error_coefficient(i, M, a, b) == 0 for i in range(K + 2))
    assert error_coefficient(K + 2, M, a, b) != 0
    assert a == a[::-1] and b == b[::-1] and b[0] == b[K] == 0
    assert root_condition(a, 2) and not root_condition(a, 1)
    exact_path = os.path.join(REFERENCE, "symmetric-14-exact.txt")
    digits_path = os.path.join(REFERENCE, "symmetric-14-17digits.txt")
    write_method(exact_path, K, M, a, b)
    write_method(digits_path, K, M, a, b, lambda x: str(int(x)) if x.denominator == 1 else repr(float(x)))
    _, _, _, written = read_method(digits_path)
    lines = [
        "# The symmetric explicit 14-step method of symmetric_14.py (see its docstring).",
        f"cosines c of the spurious roots: {' '.join(str(c) for c in COSINES)}",
        f"rho (integers): {' '.join(str(x) for x in a)}",
        f"exact order: 14 (C_0 .. C_15 = 0, C_16 = {error_coefficient(K + 2, M, a, b)})",
        f"largest denominator of sigma: {max(x.denominator for x in b)}",
        "sigma: j | exact | written (repr of the double) | distance in half units of the last digit"
        " | same double | simplest fraction of the decimal (half a unit or the same double)",
    ]
    for j, (x, w) in enumerate(zip(b, written)):
        text = str(int(w)) if w.denominator == 1 else repr(float(x))
        simplest = fraction_reading(text)
        lines.append(
            f"  {j} | {x} | {text} | {float(half_units(x, text)):.3f} | {float(x) == float(w)} | {simplest}"
            + (" (exact)" if simplest == x else "")
        )
    lines.append(f"integrated, exact file (h = 2 pi / N, N from {START}):")
    lines += integration_lines(exact_path, START)
    lines.append("integrated, 17-digit file:")
    lines += integration_lines(digits_path, START)
    with open(os.path.join(REFERENCE, "symmetric-14.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")
    print("\n".join(lines))


if __name__ == "__main__":
    main()

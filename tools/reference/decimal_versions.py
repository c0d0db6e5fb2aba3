#!/usr/bin/env python3
"""Classical methods derived exactly, and their decimal versions.

    python3 decimal_versions.py [FOLDER]   (default: tests/analyse/reference/decimals)

Derives in exact rational arithmetic, from the order conditions C_i = 0 taken
in turn (see methods.error_coefficient), Adams-Bashforth 2..8, Adams-Moulton
1..8 (1 step: the trapezoidal rule), BDF 1..6, Stormer 2..6 and Cowell 2..6
(2 steps: Numerov), checks a few against textbook coefficients and every
order against its textbook value, and writes into FOLDER for each method
  NAME-exact.txt        the coefficients as fractions p/q,
  NAME-6digits.txt, NAME-8digits.txt, NAME-10digits.txt
                        every non-integer coefficient rounded (half to even)
                        to 6, 8 or 10 significant digits,
plus theta-0.3.txt, y_{n+1} - y_n = h (0.7 f_n + 0.3 f_{n+1}), meant as
written (order 1), and mixed-tenth.txt, a three-step implicit Adams-type
method of order 3 whose B[0] is exactly 1/10 (written 0.1) beside 10-digit
decimals of sixtieths, and the table decimal_versions.txt: each file, m, the
order the writer meant (the textbook order) and the exact order of the file
as written.

A generator of committed reference data, kept in tools/: no test runs it.
"""

import os
import sys
from decimal import ROUND_HALF_EVEN, Decimal, localcontext
from fractions import Fraction as F

# exact.py puts tests/analyse/reference (methods.py, the data) on the path.
from exact import REFERENCE, error_coefficient, order, solve
from methods import fraction_text, method_text, read_method


def derive(k, m, a, known_b, unknowns_a, unknowns_b):
    """A and B with the given unknowns (indices into A and B; the other
    coefficients as given in a and known_b) solved from C_0 = C_1 = ... = 0,
    the first len(unknowns) conditions (they are independent in every family
    here)."""
    n = len(unknowns_a) + len(unknowns_b)

    def coefficients(values):
        aa, bb = list(map(F, a)), list(map(F, known_b))
        for (half, j), v in values.items():
            (aa if half == "A" else bb)[j] = v
        return aa, bb

    names = [("A", j) for j in unknowns_a] + [("B", j) for j in unknowns_b]
    first = 0 if unknowns_a else m
    rows, rhs = [], []
    for i in range(first, first + n):
        row = []
        for name in names:
            unit_a, unit_b = [F(0)] * (k + 1), [F(0)] * (k + 1)
            (unit_a if name[0] == "A" else unit_b)[name[1]] = F(1)
            row.append(error_coefficient(i, m, unit_a, unit_b))
        rows.append(row)
        rhs.append(-error_coefficient(i, m, *coefficients({})))
    return coefficients(dict(zip(names, solve(rows, rhs))))


def adams_bashforth(k):
    return derive(k, 1, [0] * (k - 1) + [-1, 1], [0] * (k + 1), [], range(k))


def adams_moulton(k):
    return derive(k, 1, [0] * (k - 1) + [-1, 1], [0] * (k + 1), [], range(k + 1))


def bdf(k):
    return derive(k, 1, [0] * k + [1], [0] * (k + 1), range(k), [k])


def stormer(k):
    return derive(k, 2, [0] * (k - 2) + [1, -2, 1], [0] * (k + 1), [], range(k))


def cowell(k):
    return derive(k, 2, [0] * (k - 2) + [1, -2, 1], [0] * (k + 1), [], range(k + 1))


def catalogue():
    """(name, k, m, A, B, textbook order) of every classical method here."""
    out = []
    for k in range(2, 9):
        out.append((f"adams-bashforth-{k}", k, 1, *adams_bashforth(k), k))
    for k in range(1, 9):
        out.append((f"adams-moulton-{k}", k, 1, *adams_moulton(k), k + 1))
    for k in range(1, 7):
        out.append((f"bdf-{k}", k, 1, *bdf(k), k))
    for k in range(2, 7):
        out.append((f"stormer-{k}", k, 2, *stormer(k), k))
    for k in range(2, 7):
        out.append((f"cowell-{k}", k, 2, *cowell(k), 4 if k <= 3 else k + 1))
    return out


def textbook_checks():
    """A few coefficients as printed in the textbooks, and every order."""
    f = lambda *xs: [F(x) for x in xs]  # noqa: E731
    assert adams_bashforth(2)[1] == f(F(-1, 2), F(3, 2), 0)
    assert adams_bashforth(4)[1] == [F(x, 24) for x in (-9, 37, -59, 55)] + [0]
    assert adams_bashforth(5)[1] == [F(x, 720) for x in (251, -1274, 2616, -2774, 1901)] + [0]
    assert adams_moulton(1)[1] == f(F(1, 2), F(1, 2))
    assert adams_moulton(3)[1] == [F(x, 24) for x in (1, -5, 19, 9)]
    assert adams_moulton(4)[1] == [F(x, 720) for x in (-19, 106, -264, 646, 251)]
    assert bdf(1) == (f(-1, 1), f(0, 1))
    assert bdf(3) == ([F(x, 11) for x in (-2, 9, -18, 11)], f(0, 0, 0, F(6, 11)))
    assert bdf(6)[1][6] == F(60, 147)
    assert stormer(3)[1] == [F(x, 12) for x in (1, -2, 13)] + [0]
    assert cowell(2)[1] == [F(x, 12) for x in (1, 10, 1)]
    assert cowell(4)[1] == [F(x, 240) for x in (-1, 4, 14, 204, 19)]
    for name, k, m, a, b, meant in catalogue():
        assert order(m, a, b) == meant, name


def rounded(x, digits):
    """x as a decimal text: an integer as such, else rounded half to even to
    `digits` significant digits, in positional notation."""
    x = F(x)
    if x.denominator == 1:
        return str(x.numerator)
    with localcontext() as ctx:
        ctx.prec, ctx.rounding = digits, ROUND_HALF_EVEN
        value = Decimal(x.numerator) / Decimal(x.denominator)
    text = format(value, "f")
    return text.rstrip("0").rstrip(".") if "." in text else text


def mixed_tenth():
    """rho = z^3 - z^2 with B[0] = 1/10 and B[1..3] of the highest order
    (3): B = (1/10, -23/60, 29/30, 19/60)."""
    return derive(3, 1, [0, 0, -1, 1], [F(1, 10), 0, 0, 0], [], [1, 2, 3])


def write_all(folder):
    """Writes every file and the table; returns the table's rows."""
    os.makedirs(folder, exist_ok=True)
    rows = []

    def emit(name, k, m, a, b, meant, note, number):
        with open(os.path.join(folder, name), "w") as f:
            f.write(method_text(k, m, a, b, number))
        _, _, wa, wb = read_method(os.path.join(folder, name))
        rows.append((name, m, meant, order(m, wa, wb), note))

    for name, k, m, a, b, meant in catalogue():
        emit(f"{name}-exact.txt", k, m, a, b, meant, "fractions", fraction_text)
        for d in (6, 8, 10):
            emit(f"{name}-{d}digits.txt", k, m, a, b, meant, f"{d} significant digits", lambda x, d=d: rounded(x, d))
    emit("theta-0.3.txt", 1, 1, [-1, 1], [F(7, 10), F(3, 10)], 1, "theta-method 0.7 0.3, meant as written", lambda x: rounded(x, 10))
    a, b = mixed_tenth()
    assert order(1, a, b) == 3 and b[0] == F(1, 10)
    emit("mixed-tenth.txt", 3, 1, a, b, 3, "B[0] = 0.1 meant as 1/10, the rest 10 digits", lambda x: rounded(x, 10))
    return rows


def main():
    textbook_checks()
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(REFERENCE, "decimals")
    rows = write_all(folder)
    with open(os.path.join(folder, "decimal_versions.txt"), "w") as f:
        f.write(
            "# Classical methods in exact and decimal versions, from decimal_versions.py.\n"
            "# meant: the textbook order of the method the file stands for;\n"
            "# written: the exact order of the coefficients as written (decimals read exactly).\n"
            "# file | m | meant | written | note\n"
        )
        for name, m, meant, written, note in rows:
            f.write(f"{name} | {m} | {meant} | {written} | {note}\n")
    print(f"{len(rows)} files in {folder}")


if __name__ == "__main__":
    main()

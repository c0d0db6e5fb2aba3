#!/usr/bin/env python3
"""Derives the example methods exactly and checks their order and error constant.

Each method is given by its step count k, equation order m, the coefficients
that are fixed and the ones left free.  The free coefficients are found in
exact rational arithmetic from the order conditions C_0 = C_1 = ... = 0, taken
in turn until they fix every free coefficient.  The order is then found again,
independently, by computing C_i from the finished coefficients:

    C_i = (1/i!) sum j^i A[j]                                  for i < m,
    C_i = (1/i!) sum j^i A[j] - (1/(i-m)!) sum j^(i-m) B[j]    for i >= m,

q is the first index with C_q != 0, the consistency order is q - m and the
error constant is C_q / (B[0] + ... + B[k]).  The Adams, Stormer and Cowell
coefficients are also checked against the classical backward-difference
generating functions.

    python3 derive.py          checks every method file against its derivation
                               and prints the exact order and error constants
    python3 derive.py --write  (re)writes the files derived here instead of
                               checking them

Numbers are written with 17 significant digits, enough to give back the
nearest double; a value with a short exact decimal form is written in it.
"""

import math
import os
import sys
from decimal import Decimal
from fractions import Fraction as F

# ---------------------------------------------------------------- arithmetic


def error_coefficient(i, k, m, a, b):
    """The exact C_i of the coefficient sets a, b (each k + 1 values)."""
    c = sum(F(j) ** i * a[j] for j in range(k + 1)) / math.factorial(i)
    if i >= m:
        c -= sum(F(j) ** (i - m) * b[j] for j in range(k + 1)) / math.factorial(i - m)
    return c


def order_and_constant(k, m, a, b, limit=60):
    """(q, C_q, error constant) exactly; None for q when no C_i up to the limit
    is non-zero; the constant is None when the B coefficients add up to 0."""
    if all(x == 0 for x in a + b):
        return None, F(0), None
    for i in range(limit):
        c = error_coefficient(i, k, m, a, b)
        if c != 0:
            total = sum(b)
            return i, c, (c / total if total != 0 else None)
    return None, F(0), None


def solve(rows, rhs):
    """Exact solution of a square linear system (Gauss-Jordan on fractions)."""
    n = len(rows)
    mat = [list(r) + [v] for r, v in zip(rows, rhs)]
    for col in range(n):
        piv = next(r for r in range(col, n) if mat[r][col] != 0)
        mat[col], mat[piv] = mat[piv], mat[col]
        p = mat[col][col]
        mat[col] = [x / p for x in mat[col]]
        for r in range(n):
            if r != col and mat[r][col] != 0:
                f = mat[r][col]
                mat[r] = [x - f * y for x, y in zip(mat[r], mat[col])]
    return [mat[r][n] for r in range(n)]


def rank(rows):
    mat = [list(r) for r in rows]
    rk = 0
    for col in range(len(mat[0]) if mat else 0):
        piv = next((r for r in range(rk, len(mat)) if mat[r][col] != 0), None)
        if piv is None:
            continue
        mat[rk], mat[piv] = mat[piv], mat[rk]
        for r in range(rk + 1, len(mat)):
            f = mat[r][col] / mat[rk][col]
            mat[r] = [x - f * y for x, y in zip(mat[r], mat[rk])]
        rk += 1
    return rk


def derive(k, m, fixed, free):
    """Coefficients A, B from the order conditions.

    fixed: {('A'|'B', j): value}; free: list of ('A'|'B', j) unknowns; every
    other coefficient is 0.  C_i is linear in the coefficients, so each
    condition C_i = 0 is a row over the unknowns with the fixed part on the
    right; conditions that add no rank are skipped (they hold already or
    belong to a higher order), and the first len(free) independent ones are
    solved."""

    def coefficients(values):
        a, b = [F(0)] * (k + 1), [F(0)] * (k + 1)
        for (half, j), v in values.items():
            (a if half == "A" else b)[j] = F(v)
        return a, b

    base = coefficients(fixed)
    rows, rhs = [], []
    i = 0
    while len(rows) < len(free):
        row = []
        for unknown in free:
            a, b = coefficients({unknown: 1})
            row.append(error_coefficient(i, k, m, a, b))
        if rank(rows + [row]) > len(rows):
            rows.append(row)
            rhs.append(-error_coefficient(i, k, m, *base))
        i += 1
        if i > 4 * (k + m) + 20:
            raise ValueError("order conditions don't fix the free coefficients")
    values = dict(fixed)
    values.update(zip(free, solve(rows, rhs)))
    return coefficients(values)


# ------------------------------------------------------- generating functions


def series_reciprocal(s, n):
    out = [F(0)] * n
    out[0] = 1 / s[0]
    for i in range(1, n):
        out[i] = -sum(s[j] * out[i - j] for j in range(1, i + 1)) / s[0]
    return out


def series_product(s, t, n):
    return [sum(s[j] * t[i - j] for j in range(i + 1)) for i in range(n)]


def backward_difference_weights(gammas, top):
    """f-weights at points top, top-1, ... of sum_j gammas[j] nabla^j f_top."""
    w = [F(0)] * len(gammas)
    for j, g in enumerate(gammas):
        for r in range(j + 1):
            w[r] += g * (-1) ** r * math.comb(j, r)
    return w


def generating_checks(n=10):
    """Adams and Stormer-Cowell coefficient series:
    -t/ln(1-t) (Adams-Moulton), the same over (1 - t) (Adams-Bashforth),
    (t/ln(1-t))^2 (Cowell) and the same over (1 - t) (Stormer)."""
    minus_log_over_t = [F(1, i + 1) for i in range(n)]  # -ln(1-t)/t
    am = series_reciprocal(minus_log_over_t, n)
    geometric = [F(1)] * n
    ab = series_product(am, geometric, n)
    cowell = series_product(am, am, n)
    stormer = series_product(cowell, geometric, n)
    return ab, am, stormer, cowell


# ----------------------------------------------------------------- formatting


def decimal_text(x):
    x = F(x)
    if x == 0:
        return "0"
    d = x.denominator
    while d % 2 == 0:
        d //= 2
    while d % 5 == 0:
        d //= 5
    if d == 1:
        exact = Decimal(x.numerator) / Decimal(x.denominator)
        text = format(exact.normalize(), "f")
        if len(text.replace("-", "").replace(".", "").lstrip("0")) <= 17:
            return text
    return "%.17g" % float(x)


def file_text(k, m, a, b):
    return "%d %d\n%s\n%s\n" % (
        k,
        m,
        " ".join(decimal_text(x) for x in a),
        " ".join(decimal_text(x) for x in b),
    )


# ------------------------------------------------------------------ catalogue


def adams(k, implicit):
    top = k if implicit else k - 1
    return derive(k, 1, {("A", k - 1): -1, ("A", k): 1}, [("B", j) for j in range(top + 1)])


def bdf(k):
    return derive(k, 1, {("A", k): 1}, [("A", j) for j in range(k)] + [("B", k)])


def nystrom(k):
    return derive(k, 1, {("A", k - 2): -1, ("A", k): 1}, [("B", j) for j in range(k)])


def stormer_cowell(k, implicit):
    top = k if implicit else k - 1
    fixed = {("A", k - 2): 1, ("A", k - 1): -2, ("A", k): 1}
    return derive(k, 2, fixed, [("B", j) for j in range(top + 1)])


def symmetric_4_step():
    """rho = (z - 1)^2 (z^2 + 1), whose spurious roots +-i lie on the unit
    circle, and the five B of the highest order. The order conditions are
    unchanged when j is replaced by 4 - j, so their one solution is
    symmetric, and the odd error coefficients vanish with it."""
    a, b = derive(4, 2, {("A", 0): 1, ("A", 1): -2, ("A", 2): 2, ("A", 3): -2, ("A", 4): 1}, [("B", j) for j in range(5)])
    assert b == b[::-1]
    return a, b


def second_order_backward(k):
    """The formula for y'' = f of highest order with f at the newest point (two
    steps) or the two newest points (three steps), the A left free as in a
    backward differentiation formula."""
    f_points = [("B", k)] if k == 2 else [("B", k - 1), ("B", k)]
    return derive(k, 2, {("A", k): 1}, [("A", j) for j in range(k)] + f_points)


def cyclic_adams_partner():
    """The two-step implicit formula y_{n+2} - y_{n+1} = h (b0 f_n + b1 f_{n+1}
    + b2 f_{n+2}) of order 2 whose C_3 is the opposite of the two-step
    Adams-Bashforth one (5/12): one step of each in turn cancels the leading
    local errors over the cycle."""
    a_ab, b_ab = adams(2, False)
    target = -error_coefficient(3, 2, 1, a_ab, b_ab)
    # C_1 = C_2 = 0 and C_3 = target, three linear conditions on b0, b1, b2.
    unknowns = [("B", j) for j in range(3)]
    a = [F(0), F(-1), F(1)]
    rows, rhs = [], []
    for i, want in ((1, F(0)), (2, F(0)), (3, target)):
        row = []
        for _, j in unknowns:
            unit = [F(0)] * 3
            unit[j] = F(1)
            row.append(error_coefficient(i, 2, 1, [F(0)] * 3, unit))
        rows.append(row)
        rhs.append(want - error_coefficient(i, 2, 1, a, [F(0)] * 3))
    return a, solve(rows, rhs)


def catalogue():
    """(file name, method, source, k, m, A, B, derived here) in table order."""
    out = []

    def add(name, method, source, k, m, a, b, derived=True):
        out.append((name, method, source, k, m, [F(x) for x in a], [F(x) for x in b], derived))

    add("euler-forward.txt", "Euler forward (Adams-Bashforth, 1 step)", "Euler", 1, 1, [-1, 1], [1, 0], False)
    for k in range(2, 9):
        add(f"adams-bashforth-{k}.txt", f"Adams-Bashforth, {k} steps", "Adams-Bashforth", k, 1, *adams(k, False), k > 5)
    add(
        "adams-bashforth-2-padded.txt",
        "Adams-Bashforth, 2 steps, with a leading zero column",
        "Adams-Bashforth",
        3,
        1,
        [0, 0, -1, 1],
        [0, F(-1, 2), F(3, 2), 0],
        False,
    )
    add("euler-backward.txt", "Euler backward (BDF, 1 step)", "Euler", 1, 1, [-1, 1], [0, 1], False)
    add("trapezoidal-rule.txt", "trapezoidal rule (Adams-Moulton, 1 step)", "Adams-Moulton", 1, 1, [-1, 1], [F(1, 2), F(1, 2)], False)
    for k in range(2, 9):
        add(f"adams-moulton-{k}.txt", f"Adams-Moulton, {k} steps", "Adams-Moulton", k, 1, *adams(k, True), k > 4)
    for k in range(2, 7):
        add(f"bdf-{k}.txt", f"backward differentiation formula, {k} steps", "BDF", k, 1, *bdf(k), False)
    for k in range(2, 7):
        name = "explicit midpoint rule (Nystrom, 2 steps)" if k == 2 else f"Nystrom, {k} steps"
        add(f"nystrom-{k}.txt", name, "Nystrom", k, 1, *nystrom(k))
    milne_simpson = derive(2, 1, {("A", 0): -1, ("A", 2): 1}, [("B", j) for j in range(3)])
    add("milne-simpson.txt", "Milne-Simpson (Simpson's rule, 2 steps)", "Milne", 2, 1, *milne_simpson)
    milne_predictor = derive(4, 1, {("A", 0): -1, ("A", 4): 1}, [("B", 1), ("B", 2), ("B", 3)])
    add("milne-predictor.txt", "Milne's predictor, 4 steps", "Milne", 4, 1, *milne_predictor)
    hamming = derive(3, 1, {("A", 1): 0, ("A", 3): 1}, [("A", 0), ("A", 2), ("B", 1), ("B", 2), ("B", 3)])
    add("hamming.txt", "Hamming's corrector, 3 steps", "Hamming", 3, 1, *hamming)
    explicit_order_3 = derive(2, 1, {("A", 2): 1}, [("A", 0), ("A", 1), ("B", 0), ("B", 1)])
    add("explicit-2-step-order-3.txt", "explicit two-step method of order 3", "maximal order", 2, 1, *explicit_order_3)
    add("stormer.txt", "Stormer, 2 steps", "Stormer", 2, 2, *stormer_cowell(2, False), False)
    for k in range(3, 7):
        add(f"stormer-{k}.txt", f"Stormer, {k} steps", "Stormer", k, 2, *stormer_cowell(k, False), k != 4)
    add("numerov.txt", "Numerov (Cowell, 2 steps)", "Numerov", 2, 2, *stormer_cowell(2, True), False)
    for k in range(3, 7):
        add(f"cowell-{k}.txt", f"Cowell, {k} steps", "Cowell", k, 2, *stormer_cowell(k, True), k != 4)
    add("p-stable-2-step.txt", "two-step P-stable method", "P-stable", 2, 2, [1, -2, 1], [F(1, 4), F(1, 2), F(1, 4)])
    add("symmetric-4-step.txt", "symmetric four-step method", "symmetric", 4, 2, *symmetric_4_step())
    for k in (2, 3):
        add(f"second-order-backward-{k}.txt", f"backward formula for y'' = f, {k} steps", "backward", k, 2, *second_order_backward(k))
    add(
        "inconsistent-half-euler.txt",
        "Euler with half the slope: y_{n+1} = y_n + h f_n / 2",
        "inconsistent",
        1,
        1,
        [-1, 1],
        [F(1, 2), 0],
    )
    add("not-computable-b-zero.txt", "y_{n+1} = y_n, no f at all (B sum 0)", "not computable", 1, 1, [-1, 1], [0, 0])
    add("not-computable-all-zero.txt", "every coefficient 0", "not computable", 1, 1, [0, 0], [0, 0])
    add("cyclic-order-3-explicit.txt", "cyclic pair, explicit half", "cyclic", 2, 1, [F(-1, 2), F(-1, 2), 1], [F(-1, 4), F(7, 4), 0], False)
    add("cyclic-order-3-implicit.txt", "cyclic pair, implicit half", "cyclic", 2, 1, [F(-1, 2), F(-1, 2), 1], [F(1, 2), F(1, 4), F(3, 4)], False)
    add("cyclic-adams-order-3-implicit.txt", "implicit partner of Adams-Bashforth 2 in a cycle", "cyclic", 2, 1, *cyclic_adams_partner())
    return out


# ---------------------------------------------------------------------- checks


def check_generating_functions():
    ab, am, stormer, cowell = generating_checks()
    for k in range(2, 9):
        a, b = adams(k, False)
        assert list(reversed(b[:k])) == backward_difference_weights(ab[:k], k - 1), k
        a, b = adams(k, True)
        assert list(reversed(b)) == backward_difference_weights(am[: k + 1], k), k
    for k in range(2, 7):
        a, b = stormer_cowell(k, False)
        assert list(reversed(b[:k])) == backward_difference_weights(stormer[:k], k - 1), k
        a, b = stormer_cowell(k, True)
        assert list(reversed(b)) == backward_difference_weights(cowell[: k + 1], k), k
    # The classical series start so.
    assert ab[:4] == [1, F(1, 2), F(5, 12), F(3, 8)]
    assert am[:4] == [1, F(-1, 2), F(-1, 12), F(-1, 24)]
    assert stormer[:4] == [1, 0, F(1, 12), F(1, 12)]
    assert cowell[:5] == [1, -1, F(1, 12), 0, F(-1, 240)]


def main():
    check_generating_functions()
    here = os.path.dirname(os.path.abspath(__file__))
    write = "--write" in sys.argv[1:]
    print("| file | k | m | q | order | C_q | error constant |")
    for name, method, source, k, m, a, b, derived in catalogue():
        q, cq, const = order_and_constant(k, m, a, b)
        text = file_text(k, m, a, b)
        path = os.path.join(here, name)
        if derived and write:
            with open(path, "w") as f:
                f.write(text)
        elif derived:
            with open(path) as f:
                assert f.read() == text, name
        else:
            # A file kept as it was written: its numbers must round to the
            # derived values (10 decimals in the oldest files).
            with open(path) as f:
                numbers = f.read().split()
            values = [F(x) for x in numbers[2:]]
            assert int(numbers[0]) == k and int(numbers[1]) == m, name
            assert len(values) == 2 * k + 2, name
            assert all(abs(v - x) <= F(1, 10**10) for v, x in zip(values, a + b)), name
        order = None if q is None else q - m
        print(f"| {name} | {k} | {m} | {q} | {order} | {cq} | {const} |")


if __name__ == "__main__":
    main()

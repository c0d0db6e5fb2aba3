"""Exact helpers of the generators in tools/reference, beside those of
tests/analyse/reference/methods.py: error coefficients and orders, linear
systems, a cycle's matrix at h = 0 and its zero-stability. Everything is
exact (fractions.Fraction).
"""

import math
import os
import sys
from fractions import Fraction as F

# The helpers the tests use too, and the data written, live with the tests.
REFERENCE = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                          "..", "..", "tests", "analyse", "reference"))
sys.path.insert(0, REFERENCE)
from methods import fraction_text, method_text, root_condition, trim  # noqa: E402


def write_method(path, k, m, a, b, number=fraction_text):
    with open(path, "w") as f:
        f.write(method_text(k, m, a, b, number))


# ---------------------------------------------------------- error coefficients


def error_coefficient(i, m, a, b):
    """C_i = (1/i!) sum j^i A[j] - (1/(i-m)!) sum j^(i-m) B[j] (the second sum
    only for i >= m), exactly."""
    c = F(sum(F(j) ** i * x for j, x in enumerate(a)), math.factorial(i))
    if i >= m:
        c -= F(sum(F(j) ** (i - m) * x for j, x in enumerate(b)), math.factorial(i - m))
    return c


def order(m, a, b, limit=80):
    """The consistency order q - m (q the first i with C_i != 0); None when
    every coefficient is 0 or no C_i up to the limit is non-zero."""
    if all(x == 0 for x in list(a) + list(b)):
        return None
    for i in range(limit):
        if error_coefficient(i, m, a, b) != 0:
            return i - m
    return None


def solve(rows, rhs):
    """The exact solution of a square non-singular linear system
    (Gauss-Jordan on fractions); None when the system is singular."""
    n = len(rows)
    mat = [[F(x) for x in r] + [F(v)] for r, v in zip(rows, rhs)]
    for col in range(n):
        piv = next((r for r in range(col, n) if mat[r][col] != 0), None)
        if piv is None:
            return None
        mat[col], mat[piv] = mat[piv], mat[col]
        p = mat[col][col]
        mat[col] = [x / p for x in mat[col]]
        for r in range(n):
            if r != col and mat[r][col] != 0:
                f = mat[r][col]
                mat[r] = [x - f * y for x, y in zip(mat[r], mat[col])]
    return [mat[r][n] for r in range(n)]


# ---------------------------------------------------------- matrices, cycles


def companion(a):
    """The matrix of one step at h = 0 on (y_n .. y_{n+k-1}): the values move
    up one place and y_{n+k} = -sum_{j<k} A[j] y_{n+j} / A[k]."""
    k = len(a) - 1
    rows = [[F(int(c == r + 1)) for c in range(k)] for r in range(k - 1)]
    rows.append([-F(x) / a[k] for x in a[:k]])
    return rows


def mat_mul(x, y):
    return [[sum(x[i][t] * y[t][j] for t in range(len(y))) for j in range(len(y[0]))] for i in range(len(x))]


def identity(k):
    return [[F(int(i == j)) for j in range(k)] for i in range(k)]


def cycle_matrix(a_list):
    """M = C_c ... C_2 C_1: the algorithms applied in turn, the last one last."""
    k = len(a_list[0]) - 1
    m = identity(k)
    for a in a_list:
        m = mat_mul(companion(a), m)
    return m


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


def minimal_polynomial(m):
    """The monic minimal polynomial of a square matrix: the first power M^d
    that is a combination of I, M, ..., M^(d-1) (flattened) gives it."""
    k = len(m)
    powers = [identity(k)]
    while True:
        powers.append(mat_mul(m, powers[-1]))
        columns = [[x for row in p for x in row] for p in powers]
        basis = columns[:-1]
        if rank(list(zip(*basis))) == rank(list(zip(*columns))):
            # Solve sum c_i basis_i = last on len(basis) independent rows.
            rows_all = list(zip(*basis))
            chosen, picked = [], []
            for r, row in enumerate(rows_all):
                if rank(picked + [list(row)]) > len(picked):
                    picked.append(list(row))
                    chosen.append(r)
                if len(picked) == len(basis):
                    break
            coeffs = solve(picked, [columns[-1][r] for r in chosen])
            return [-c for c in coeffs] + [F(1)]


def cycle_zero_stable(a_list):
    """True when the cycle of the algorithms with these A is zero-stable:
    every eigenvalue of M = C_c ... C_1 in the closed unit disk, those on the
    circle semisimple, i.e. simple roots of M's minimal polynomial. False when
    some A[k] is 0 (the step is not defined at h = 0)."""
    if any(a[-1] == 0 for a in a_list):
        return False
    return root_condition(minimal_polynomial(cycle_matrix(a_list)), 1)


def zero_stable(m, a):
    """The root condition of a single algorithm for y^(m) = f: the roots of
    rho in the closed disk, those on the circle of multiplicity at most m."""
    if trim(a) == [] or a[-1] == 0:
        return False
    return root_condition(a, m)

#!/usr/bin/env python3
"""Writes method files of step at most 8 for the whole-program benchmark of
ordimet-analyse.

Usage: generate_methods.py DIRECTORY COUNT [SEED]

The files cycle through the classical families, each computed exactly with
rational arithmetic: Adams-Bashforth and Adams-Moulton (m = 1, steps 1 to 8),
backward differentiation formulas (steps 1 to 8; 7 and 8 are not
zero-stable), Stormer and Cowell formulas (m = 2, steps 2 to 8), Milne-Simpson
and Nystrom-like methods, and random perturbations of all of them. The
coefficients are written in three ways, chosen at random: as fractions p/q, as
decimals of 17 significant digits (which ordimet-analyse reads two ways), and
as short decimals of 6 digits.
"""
import os
import random
import sys
from fractions import Fraction
from math import factorial


def solve(matrix, rhs):
    """Solves a square linear system exactly; None when it is singular."""
    n = len(matrix)
    a = [row[:] + [r] for row, r in zip(matrix, rhs)]
    for col in range(n):
        pivot = next((r for r in range(col, n) if a[r][col] != 0), None)
        if pivot is None:
            return None
        a[col], a[pivot] = a[pivot], a[col]
        for r in range(n):
            if r != col and a[r][col] != 0:
                f = a[r][col] / a[col][col]
                a[r] = [x - f * y for x, y in zip(a[r], a[col])]
    return [a[i][n] / a[i][i] for i in range(n)]


def condition_row(i, m, k, free_a, free_b):
    """Coefficients of the free unknowns in the error coefficient C_i."""
    row = []
    for j in free_a:
        row.append(Fraction(j**i, factorial(i)))
    for j in free_b:
        row.append(-Fraction(j ** (i - m), factorial(i - m)) if i >= m else Fraction(0))
    return row


def complete(k, m, a, b, free_a, free_b):
    """Fills the free coefficients so that C_0, C_1, ... vanish as far as
    they can; the fixed ones stay as given."""
    unknowns = len(free_a) + len(free_b)
    rows, rhs = [], []
    i = 0
    while len(rows) < unknowns:
        row = condition_row(i, m, k, free_a, free_b)
        fixed = sum(Fraction(j**i, factorial(i)) * a[j] for j in range(k + 1) if j not in free_a)
        if i >= m:
            fixed -= sum(
                Fraction(j ** (i - m), factorial(i - m)) * b[j]
                for j in range(k + 1)
                if j not in free_b
            )
        if any(x != 0 for x in row):
            rows.append(row)
            rhs.append(-fixed)
        i += 1
    solution = solve(rows, rhs)
    if solution is None:
        return None
    a, b = a[:], b[:]
    for n, j in enumerate(free_a):
        a[j] = solution[n]
    for n, j in enumerate(free_b):
        b[j] = solution[len(free_a) + n]
    return a, b


def poly_times(p, q):
    r = [Fraction(0)] * (len(p) + len(q) - 1)
    for i, x in enumerate(p):
        for j, y in enumerate(q):
            r[i + j] += x * y
    return r


def adams(k, implicit):
    a = [Fraction(0)] * (k + 1)
    a[k], a[k - 1] = Fraction(1), Fraction(-1)
    b = [Fraction(0)] * (k + 1)
    return complete(k, 1, a, b, [], list(range(k + 1 if implicit else k)))


def bdf(k):
    a = [Fraction(0)] * (k + 1)
    a[k] = Fraction(1)
    b = [Fraction(0)] * (k + 1)
    b[k] = Fraction(1)
    # A[k] = 1 fixed, B[k] free: BDF normalised to a monic rho.
    return complete(k, 1, a, b, list(range(k)), [k])


def stormer(k, implicit):
    rho = [Fraction(0)] * (k + 1)
    rho[k], rho[k - 1], rho[k - 2] = Fraction(1), Fraction(-2), Fraction(1)
    b = [Fraction(0)] * (k + 1)
    return complete(k, 2, rho, b, [], list(range(k + 1 if implicit else k)))


def symmetric(k, m, rng):
    """A rho with the factor (z - 1)^m times a random integer polynomial,
    and the sigma of the highest order for it."""
    rho = [Fraction(1)]
    for _ in range(m):
        rho = poly_times(rho, [Fraction(-1), Fraction(1)])
    while len(rho) < k + 1:
        root = Fraction(rng.randint(-3, 3), rng.randint(1, 3))
        rho = poly_times(rho, [-root, Fraction(1)])
    b = [Fraction(0)] * (k + 1)
    return complete(k, m, rho, b, [], list(range(k + 1)))


def milne_simpson():
    a = [Fraction(-1), Fraction(0), Fraction(1)]
    b = [Fraction(0)] * 3
    return complete(2, 1, a, b, [], [0, 1, 2])


def perturb(method, rng):
    a, b = method
    a, b = a[:], b[:]
    for _ in range(rng.randint(1, 3)):
        target = a if rng.random() < 0.5 else b
        j = rng.randrange(len(target))
        target[j] += Fraction(rng.randint(-50, 50), rng.choice([100, 1000, 10000]))
    return a, b


def text(value, style):
    if style == "fraction":
        return str(value)
    if style == "long":
        return "%.17g" % float(value)
    return "%.6g" % float(value)


def main():
    directory, count = sys.argv[1], int(sys.argv[2])
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 12345)
    os.makedirs(directory, exist_ok=True)
    base = []
    for k in range(1, 9):
        base.append((1, adams(k, False)))
        base.append((1, adams(k, True)))
        base.append((1, bdf(k)))
    for k in range(2, 9):
        base.append((2, stormer(k, False)))
        base.append((2, stormer(k, True)))
    base.append((1, milne_simpson()))
    base = [(m, method) for m, method in base if method is not None]
    width = len(str(count - 1))
    for n in range(count):
        kind = n % 4
        if kind == 0 or kind == 1:
            m, method = base[(n // 4 * 2 + kind) % len(base)]
        elif kind == 2:
            m, method = base[rng.randrange(len(base))]
            method = perturb(method, rng)
        else:
            m = rng.choice([1, 1, 2])
            method = symmetric(rng.randint(m, 8), m, rng)
            if method is None:
                m, method = base[rng.randrange(len(base))]
        a, b = method
        k = len(a) - 1
        style = rng.choice(["fraction", "long", "short"])
        with open(os.path.join(directory, "method-%0*d.txt" % (width, n)), "w") as f:
            f.write("%d %d\n" % (k, m))
            f.write(" ".join(text(x, style) for x in a) + "\n")
            f.write(" ".join(text(x, style) for x in b) + "\n")


if __name__ == "__main__":
    main()

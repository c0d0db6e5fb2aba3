#!/usr/bin/env python3
"""Generates zero-stable cyclic methods for y' = f and their integrated
orders: the method files in tests/analyse/reference/cycles/ and the table
cycles.txt there.

    python3 generate_cycles.py

Each cycle has 2 or 3 algorithms of the same step k (1 to 3) with small
fractional coefficients, built by one of these recipes (the kind starts the
file names):
  cancel    pairs whose leading local errors cancel over the cycle (the pair
            quoted in the issue, theta-method pairs, designed pairs)
  midpoint  pairs with a formula of rho = z^2 - 1 (A[1] = 0), such as the
            explicit midpoint rule with Milne-Simpson, or rho = z^3 - z
  unstable  pairs with an algorithm that is not zero-stable alone
  triple    cycles of three algorithms
  plain     pairs of the same order with no designed cancellation
  orders    pairs of algorithms of different orders
Every candidate's cycle must be zero-stable, decided exactly
(methods.cycle_zero_stable), and is integrated by integrate.py; a candidate
whose order doesn't settle is dropped. The table records the integrated
order only.

How candidates are designed (a search aid; the integration is the judge).
The order p of an algorithm is q - 1; its leading local error is C_(p+1).
Over one cycle, the leading local errors add up to T = sum_i w_i c_i, with
w_i = C_c ... C_(i+1) e_k / A_i[k] (the error of step i carried through the
later steps at h = 0) and c_i = C_(p+1) of algorithm i (0 for an algorithm
of higher order). The error grows over the O(1/h) cycles only through the
part of T in the eigenspace of M = C_c ... C_1 for the eigenvalue 1; that
part is zero when u.T = 0 for every left eigenvector u of M for 1. A
designed cycle solves this for the last algorithm's C_(p+1). The script
prints where this prediction and the integration disagree.

No cycle can integrate at more than one order above the smallest order p of
its algorithms when the error is taken over every grid point: the first step
made by an algorithm of order p starts from values whose errors are
O(h^(p+2)) and adds its own local error C_(p+1) h^(p+1) y^(p+1) / A[k], so
the error at that point alone is of order h^(p+1). The triples whose leading
local errors cancel as a whole vector over a cycle (T = 0) show it: p + 1.

A generator of committed test data (cycle_order_test reads the table), kept
in tools/: no test runs it.
"""

import os
import random
import time
from fractions import Fraction as F

# exact.py puts tests/analyse/reference (methods.py, the data) on the path.
from exact import (
    REFERENCE,
    companion,
    cycle_matrix,
    cycle_zero_stable,
    error_coefficient,
    mat_mul,
    order,
    solve,
    write_method,
    zero_stable,
)
from integrate import integrate, method_order, order_text
from methods import all_strictly_inside, poly_mul

SEED = 18
POOL = [F(x) for x in ("-2", "-3/2", "-1", "-3/4", "-2/3", "-1/2", "-1/3", "-1/4",
                       "1/4", "1/3", "1/2", "2/3", "3/4", "1", "3/2", "2")]
STABLE_R = [F(x) for x in ("0", "1/2", "-1/2", "1/3", "-1/3", "1/4", "-1/4", "2/3", "-2/3", "3/4", "-3/4")]
UNSTABLE_R = [F(x) for x in ("2", "-2", "3/2", "-3/2", "3", "-3", "5/4", "-5/4", "4/3", "-4/3")]
QUAD = [F(x) for x in ("0", "1/4", "-1/4", "1/3", "-1/3", "1/2", "-1/2", "2/3", "-2/3", "1", "-1", "3/2", "-3/2", "2")]
TARGETS = {"cancel": 24, "midpoint": 12, "unstable": 16, "triple": 22, "plain": 14, "orders": 14}

# ------------------------------------------------------------- algorithms


def rho(spurious):
    """A of rho = (z - 1) * spurious (lowest degree first), A[k] = 1."""
    return poly_mul([F(-1), F(1)], [F(x) for x in spurious])


def linear(r):
    return [-r, F(1)]


def quadratic(b, c):
    return [c, b, F(1)]


def sigma(rng, a, p, implicit, target=None):
    """B of order p (C_1 .. C_p = 0, C_(p+1) = target when given) for y' = f
    with rho A: the conditions fix that many B's (the highest indices),
    the others are drawn from the pool. None when the order comes out
    otherwise or B[0] = 0 beside A[0] = 0 (a zero column)."""
    k = len(a) - 1
    free = list(range(k + 1 if implicit else k))
    conditions = list(range(1, p + 1)) + ([p + 1] if target is not None else [])
    if len(conditions) > len(free):
        return None
    solved = free[len(free) - len(conditions):]
    b = [F(0)] * (k + 1)
    for j in free[: len(free) - len(conditions)]:
        b[j] = rng.choice(POOL)
    rows, rhs = [], []
    for i in conditions:
        row = []
        for j in solved:
            unit = [F(0)] * (k + 1)
            unit[j] = F(1)
            row.append(error_coefficient(i, 1, [F(0)] * (k + 1), unit))
        rows.append(row)
        want = target if i == p + 1 else F(0)
        rhs.append(want - error_coefficient(i, 1, a, b))
    values = solve(rows, rhs)
    if values is None:
        return None
    for j, v in zip(solved, values):
        b[j] = v
    if order(1, a, b) != p or (a[0] == 0 and b[0] == 0):
        return None
    return b


def leading(a, b, p):
    """C_(p+1): the leading local error of an algorithm of order p."""
    return error_coefficient(p + 1, 1, a, b)


# ------------------------------------------------------ the cycle's errors


def carried(a_list):
    """w_i = C_c ... C_(i+1) e_k / A_i[k] for every algorithm i."""
    k = len(a_list[0]) - 1
    out = []
    for i, a in enumerate(a_list):
        w = [[F(0)] for _ in range(k - 1)] + [[F(1) / a[k]]]
        for later in a_list[i + 1 :]:
            w = mat_mul(companion(later), w)
        out.append([x[0] for x in w])
    return out


def left_eigenvectors(m):
    """A basis of the u with u (M - I) = 0 (exact elimination)."""
    k = len(m)
    rows = [[m[j][i] - (1 if i == j else 0) for j in range(k)] for i in range(k)]  # (M - I)^T
    basis = []
    pivots, mat = [], [list(r) for r in rows]
    r = 0
    for col in range(k):
        piv = next((i for i in range(r, k) if mat[i][col] != 0), None)
        if piv is None:
            continue
        mat[r], mat[piv] = mat[piv], mat[r]
        mat[r] = [x / mat[r][col] for x in mat[r]]
        for i in range(k):
            if i != r and mat[i][col] != 0:
                mat[i] = [x - mat[i][col] * y for x, y in zip(mat[i], mat[r])]
        pivots.append(col)
        r += 1
    for free in (c for c in range(k) if c not in pivots):
        u = [F(0)] * k
        u[free] = F(1)
        for row, col in zip(mat, pivots):
            u[col] = -row[free]
        basis.append(u)
    return basis


def projections(a_list):
    """For each left eigenvector u of M for 1: the list u.w_i."""
    w = carried(a_list)
    return [[sum(x * y for x, y in zip(u, wi)) for wi in w] for u in left_eigenvectors(cycle_matrix(a_list))]


def predicted_order(algs):
    """p_min, or p_min + 1 when the accumulating part of T vanishes."""
    orders = [order(1, a, b) for a, b in algs]
    p = min(orders)
    c = [leading(a, b, p) if o == p else F(0) for (a, b), o in zip(algs, orders)]
    raised = all(sum(x * y for x, y in zip(row, c)) == 0 for row in projections([a for a, _ in algs]))
    return p + 1 if raised else p


def designed_target(a_list, c_first):
    """The C_(p+1) of the last algorithm that makes u.T = 0, given those of
    the others; None when no single value does it."""
    rows = projections(a_list)
    if len(rows) != 1 or rows[0][-1] == 0:
        return None
    return -sum(x * y for x, y in zip(rows[0][:-1], c_first)) / rows[0][-1]


# --------------------------------------------------------------- recipes


def stable_spurious(rng, k, allow_circle=False):
    """The spurious factor of a zero-stable rho of step k."""
    while True:
        s = [F(1)] if k == 1 else linear(rng.choice(STABLE_R)) if k == 2 else quadratic(rng.choice(QUAD), rng.choice(QUAD))
        a = rho(s)
        if zero_stable(1, a) and (allow_circle or all_strictly_inside(s)):
            return s


def unstable_spurious(rng, k):
    if k == 2:
        return linear(rng.choice(UNSTABLE_R))
    while True:
        s = quadratic(rng.choice(QUAD), rng.choice(QUAD))
        if not zero_stable(1, rho(s)):
            return s


def max_order(k, implicit):
    return k + 1 if implicit else k


def designed(rng, rhos, p, implicit_flags):
    """Algorithms of order p on the given rhos, the last one's C_(p+1)
    chosen so that the cycle's accumulating error vanishes."""
    algs = []
    for a, imp in zip(rhos[:-1], implicit_flags[:-1]):
        b = sigma(rng, a, p, imp)
        if b is None:
            return None
        algs.append((a, b))
    target = designed_target(rhos, [leading(a, b, p) for a, b in algs])
    if target is None or target == 0:
        return None
    b = sigma(rng, rhos[-1], p, implicit_flags[-1], target)
    return None if b is None else algs + [(rhos[-1], b)]


def plain(rng, rhos, orders, implicit_flags):
    algs = []
    for a, p, imp in zip(rhos, orders, implicit_flags):
        b = sigma(rng, a, p, imp)
        if b is None:
            return None
        algs.append((a, b))
    return algs


def random_order(rng, k, implicit, design=False):
    return rng.randint(1, max_order(k, implicit) - (1 if design else 0))


def recipe_cancel(rng, n):
    if n == 0:  # the pair quoted in the issue
        a = [F(0), F(0), F(-1), F(1)]
        return [(a, [F(-157, 18), F(265, 18), F(-3), F(-2)]), (a, [F(-109, 36), F(43, 9), F(1, 4), F(-1)])]
    if n == 1:
        return [([F(-1), F(1)], [F(1), F(0)]), ([F(-1), F(1)], [F(0), F(1)])]
    if n < 5:  # theta-methods with theta_1 + theta_2 = 1
        t = rng.choice([F(1, 4), F(1, 3), F(3, 4), F(2, 3), F(0), F(-1, 2)])
        return [([F(-1), F(1)], [1 - t, t]), ([F(-1), F(1)], [t, 1 - t])]
    k = rng.choice([2, 3])
    same = n % 2 == 0
    first = rho(stable_spurious(rng, k))
    rhos = [first, first if same else rho(stable_spurious(rng, k))]
    flags = [rng.random() < 0.5, rng.random() < 0.5]
    p = rng.randint(1, min(max_order(k, flags[0]), max_order(k, flags[1]) - 1))
    return designed(rng, rhos, p, flags)


def recipe_midpoint(rng, n):
    mid = [F(-1), F(0), F(1)]
    nystrom, simpson = (mid, [F(0), F(2), F(0)]), (mid, [F(1, 3), F(4, 3), F(1, 3)])
    if n == 0:
        return [nystrom, simpson]
    if n == 1:
        return [simpson, nystrom]
    if n < 6:  # two formulas of rho = z^2 - 1, the sum of C_(p+1) cancelling
        return designed_sum(rng, [mid, mid], n)
    if n < 8:  # rho = z^3 - z
        a = [F(0), F(-1), F(0), F(1)]
        return designed_sum(rng, [a, a], n)
    # beside another rho: only the error of the second algorithm accumulates
    # (u.w_1 = 0 when the second rho is z^2 - 1, u.w_2 = 0 when the first is),
    # so no choice of C_(p+1) cancels it: orders drawn freely
    other = rho(stable_spurious(rng, 2))
    rhos = [mid, other] if n % 2 == 0 else [other, mid]
    flags = [rng.random() < 0.5, rng.random() < 0.5]
    return plain(rng, rhos, [random_order(rng, 2, f) for f in flags], flags)


def designed_sum(rng, rhos, n):
    """Same-rho algorithms of order p whose C_(p+1) add up to 0."""
    flags = [n % 2 == 0, rng.random() < 0.5]
    k = len(rhos[0]) - 1
    p = rng.randint(1, min(max_order(k, flags[0]), max_order(k, flags[1]) - 1))
    b1 = sigma(rng, rhos[0], p, flags[0])
    if b1 is None:
        return None
    b2 = sigma(rng, rhos[1], p, flags[1], -leading(rhos[0], b1, p))
    return None if b2 is None else [(rhos[0], b1), (rhos[1], b2)]


def recipe_unstable(rng, n):
    k = 2 if n < 8 else 3
    if k == 2:
        rhos = [rho(unstable_spurious(rng, 2)), rho(stable_spurious(rng, 2))]
        if n % 4 >= 2:
            rhos.reverse()
    else:
        rhos = [rho(unstable_spurious(rng, 3)), rho(unstable_spurious(rng, 3) if n % 3 else stable_spurious(rng, 3))]
    if not cycle_zero_stable(rhos):
        return None
    flags = [rng.random() < 0.5, rng.random() < 0.5]
    if n % 2 == 0:
        return designed(rng, rhos, random_order(rng, k, min(flags), True), flags)
    p = random_order(rng, k, min(flags))
    return plain(rng, rhos, [p, p], flags)


def recipe_triple(rng, n):
    if n < 3:  # theta-methods whose C_2 = 1/2 - theta add up to 0
        t1, t2 = rng.sample([F(1, 4), F(1, 3), F(2, 3), F(3, 4), F(0), F(1)], 2)
        ts = [t1, t2, F(3, 2) - t1 - t2]
        return [([F(-1), F(1)], [1 - t, t]) for t in ts]
    if n < 6:  # rho = z^3 - 1: M = I, the errors of the three add up
        a = [F(-1), F(0), F(0), F(1)]
        return designed_same_sum3(rng, a)
    if n < 9:  # leading local errors cancelling completely within the cycle
        return complete_cancel(rng)
    k = rng.choice([2, 3])
    if n < 13:
        first = rho(stable_spurious(rng, k))
        rhos = [first] * 3 if n % 2 else [first, rho(stable_spurious(rng, k)), rho(stable_spurious(rng, k))]
        flags = [rng.random() < 0.5 for _ in range(3)]
        return designed(rng, rhos, random_order(rng, k, min(flags), True), flags)
    if n < 17:
        rhos = [rho(stable_spurious(rng, k)) for _ in range(3)]
    else:
        rhos = [rho(unstable_spurious(rng, k)), rho(stable_spurious(rng, k)), rho(stable_spurious(rng, k))]
        rng.shuffle(rhos)
    if not cycle_zero_stable(rhos):
        return None
    flags = [rng.random() < 0.5 for _ in range(3)]
    p = random_order(rng, k, min(flags))
    if n % 2 == 0:
        return designed(rng, rhos, random_order(rng, k, min(flags), True), flags)
    return plain(rng, rhos, [p] * 3, flags)


def designed_same_sum3(rng, a):
    flags = [rng.random() < 0.5 for _ in range(3)]
    p = rng.randint(1, min(max_order(3, f) for f in flags) - 1)
    b1, b2 = sigma(rng, a, p, flags[0]), sigma(rng, a, p, flags[1])
    if b1 is None or b2 is None:
        return None
    b3 = sigma(rng, a, p, flags[2], -leading(a, b1, p) - leading(a, b2, p))
    return None if b3 is None else [(a, b1), (a, b2), (a, b3)]


def complete_cancel(rng):
    """Three algorithms of step 2 and order p whose leading local errors
    cancel as a whole vector over one cycle: T = 0, not only its part in
    the eigenspace of 1."""
    rhos = [rho(stable_spurious(rng, 2)) for _ in range(3)]
    w = carried(rhos)
    p = 1
    b1 = sigma(rng, rhos[0], p, rng.random() < 0.5)
    if b1 is None:
        return None
    c1 = leading(rhos[0], b1, p)
    c23 = solve([[w[1][0], w[2][0]], [w[1][1], w[2][1]]], [-c1 * w[0][0], -c1 * w[0][1]])
    if c23 is None or 0 in c23:
        return None
    algs = [(rhos[0], b1)]
    for a, c in zip(rhos[1:], c23):
        b = sigma(rng, a, p, True, c)
        if b is None:
            return None
        algs.append((a, b))
    return algs


def recipe_plain(rng, n):
    k = [1, 2, 2, 3, 3][n % 5]
    if k == 1:
        ts = rng.sample([F(0), F(1, 4), F(1, 3), F(2), F(-1, 2)], 2)
        return [([F(-1), F(1)], [1 - t, t]) for t in ts]
    rhos = [rho(stable_spurious(rng, k)) for _ in range(2)]
    if n % 3 == 0:
        rhos[1] = rhos[0]
    flags = [rng.random() < 0.5, rng.random() < 0.5]
    p = random_order(rng, k, min(flags))
    return plain(rng, rhos, [p, p], flags)


def recipe_orders(rng, n):
    if n < 4:  # rho = z^2 - 1 second: the first algorithm's error doesn't accumulate,
        # even for an algorithm of order 0 (C_1 != 0)
        other = rho(stable_spurious(rng, 2))
        p1 = 0 if n == 0 else rng.randint(1, 2)
        b1 = sigma(rng, other, p1, rng.random() < 0.5)
        second = ([F(-1), F(0), F(1)], [F(1, 3), F(4, 3), F(1, 3)]) if n % 2 else ([F(-1), F(0), F(1)], [F(0), F(2), F(0)])
        return None if b1 is None or order(1, *second) == p1 else [(other, b1), second]
    k = rng.choice([1, 2, 3])
    rhos = [rho(stable_spurious(rng, k)) for _ in range(2)]
    flags = [rng.random() < 0.5, rng.random() < 0.5]
    orders = [random_order(rng, k, f) for f in flags]
    if orders[0] == orders[1]:
        return None
    return plain(rng, rhos, orders, flags)


RECIPES = {"cancel": recipe_cancel, "midpoint": recipe_midpoint, "unstable": recipe_unstable,
           "triple": recipe_triple, "plain": recipe_plain, "orders": recipe_orders}

# -------------------------------------------------------------- the table


def acceptable(kind, algs):
    """Zero-stable cycle, determined steps, kind-specific conditions."""
    a_list = [a for a, _ in algs]
    if not cycle_zero_stable(a_list):
        return False
    if kind == "unstable" and all(zero_stable(1, a) for a in a_list):
        return False
    if kind == "triple" and len(algs) != 3:
        return False
    if kind == "plain" and predicted_order(algs) != min(order(1, a, b) for a, b in algs):
        return False  # cancels by chance: not plain
    return True


def generate():
    rng = random.Random(SEED)
    rows = []
    for kind, target in TARGETS.items():
        made, attempt = 0, 0
        while made < target and attempt < 40 * target:
            algs = RECIPES[kind](rng, made) if attempt < 30 * target else None
            attempt += 1
            if algs is None or not acceptable(kind, algs):
                continue
            methods = [(len(a) - 1, 1, a, b) for a, b in algs]
            _, results = integrate(methods)
            total = method_order(results)
            if total is None:
                continue
            made += 1
            rows.append((kind, made, algs, total, results))
    return rows


def main():
    start = time.time()
    rows = generate()
    folder = os.path.join(REFERENCE, "cycles")
    os.makedirs(folder, exist_ok=True)
    for old in os.listdir(folder):
        os.remove(os.path.join(folder, old))
    lines = [
        "# Zero-stable cycles for y' = f and their integrated orders, from generate_cycles.py.",
        "# One cycle a line: its method files in cycle order (the first applied first) | the settled",
        "# integrated order (the smaller of the two problems') | the observed orders log2(e(h)/e(h/2))",
        "# for y' = -y | the same for y' = y, both on [0, 1], h = 1/20 .. 1/1280, exact starting",
        "# values, e(h) the largest error over all grid points. Kinds (file names): cancel, midpoint",
        "# (rho = z^2 - 1 or z^3 - z), unstable (an algorithm not zero-stable alone), triple, plain",
        "# (no designed cancellation), orders (algorithms of different orders).",
    ]
    summary, mismatches = {}, []
    for kind, number, algs, total, results in rows:
        names = []
        for i, (a, b) in enumerate(algs, 1):
            name = f"cycles/{kind}-{number:02d}-{i}.txt"
            write_method(os.path.join(REFERENCE, name), len(a) - 1, 1, a, b)
            names.append(name)
        observed = [" ".join(order_text(o) for o in r[2]) for _, r in results]
        lines.append(f"{' '.join(names)} | {total} | {observed[0]} | {observed[1]}")
        p_min = min(order(1, a, b) for a, b in algs)
        predicted = predicted_order(algs)
        if predicted != total:
            mismatches.append(f"{names[0]}: predicted {predicted}, integrated {total}")
        counts = summary.setdefault(kind, {"cycles": 0, 0: 0, 1: 0})
        counts["cycles"] += 1
        if total - p_min in (0, 1):
            counts[total - p_min] += 1
        else:
            mismatches.append(f"{names[0]}: integrated {total}, smallest algorithm order {p_min}")
    with open(os.path.join(REFERENCE, "cycles.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")
    for kind, counts in summary.items():
        print(f"{kind:9s} {counts['cycles']:3d} cycles: {counts[0]} at the smallest order, {counts[1]} one above")
    print(f"{len(rows)} cycles in {time.time() - start:.1f} s")
    for m in mismatches:
        print("NOTE", m)


if __name__ == "__main__":
    main()

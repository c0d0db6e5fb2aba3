#!/usr/bin/env python3
"""Integrates a simple or cyclic linear multistep method on linear test
problems in high-precision decimal arithmetic and reports the global errors,
the observed orders and the settled order.

    python3 integrate.py SI FILE            one algorithm
    python3 integrate.py CI FILE FILE...    a cycle: step n (y_{n+k} from
                                            y_n .. y_{n+k-1}) uses algorithm
                                            n mod c, the first file first
    options: --digits D    working precision (default: chosen, see below)
             --start N     steps of the coarsest grid (default 20)
             --sizes S     number of step sizes, each half the last (default 7)
             --check       integrate again with twice the digits and fail
                           unless every printed error is the same

Problems (lambda = -1 and 1; each algorithm's equation at y^(m) = lambda y is
sum_j (A[j] - lambda h^m B[j]) y_{n+j} = 0, solved exactly for the new value):
  m = 1   y' = -y and y' = y on [0, 1], y(0) = 1          h = 1/N
  m = 2   y'' = -y on [0, 2 pi], y = cos x                h = 2 pi / N
          y'' = y on [0, 1], y = exp(x)                    h = 1/N
  m > 2   y^(m) = y on [0, 1], y = exp(x)                  h = 1/N
with N = start, 2 start, ... The starting values y_0 .. y_{k-1} are exact.
The global error of a step size is the largest |y_n - y(x_n)| over all grid
points of the interval (the starting values included); the observed order
between two sizes is log2(e(h) / e(h/2)); the settled order is the integer
nearest the last two observed orders when both lie within 0.1 of it, else
unsettled (None). A method's settled order is the smallest of its problems'
(unsettled if any is).

Precision: the computation runs with D decimal digits (default 80, raised to
30 digits beyond the smallest error found when that is below 1e-50), so that
round-off lies some 30 digits below every error; --check confirms it.

The integration behind the generators here and check_cycles.py, kept in
tools/ with them: no test runs it; the tests read the tables it produced.
"""

import argparse
import collections
import functools
import sys
from decimal import Decimal, localcontext
from fractions import Fraction as F

import exact  # noqa: F401  (puts tests/analyse/reference, methods.py, on the path)
from methods import read_method

DEFAULT_DIGITS = 80
GUARD_DIGITS = 30


# y^(m) = lam y on [0, length] ("1" or "2pi") with the exact solution.
Problem = collections.namedtuple("Problem", "name lam solution length")


def problems(m):
    """The test problems of equation order m."""
    if m == 1:
        return [Problem("y' = -y", -1, "exp(-x)", "1"), Problem("y' = y", 1, "exp(x)", "1")]
    if m == 2:
        return [Problem("y'' = -y", -1, "cos(x)", "2pi"), Problem("y'' = y", 1, "exp(x)", "1")]
    return [Problem(f"y^({m}) = y", 1, "exp(x)", "1")]


# ------------------------------------------------------------ decimal values


def decimal_of(x):
    """A Fraction as a Decimal, rounded to the current context."""
    x = F(x)
    return Decimal(x.numerator) / Decimal(x.denominator)


@functools.lru_cache(maxsize=None)
def pi(digits):
    """pi to `digits` digits (the series of the decimal module's recipe)."""
    with localcontext() as ctx:
        ctx.prec = digits + 5
        three = Decimal(3)
        last, t, s, n, na, d, da = 0, three, 3, 1, 0, 0, 24
        while s != last:
            last = s
            n, na = n + na, na + 8
            d, da = d + da, da + 32
            t = (t * n) / d
            s += t
    return +s


def cos(x):
    """cos x by its Taylor series, with 20 guard digits (|x| <= 2 pi here)."""
    with localcontext() as ctx:
        ctx.prec += 20
        x2, term, total, i = x * x, Decimal(1), Decimal(1), 0
        while True:
            i += 2
            term = -term * x2 / (i * (i - 1))
            if abs(term) < Decimal(10) ** (-ctx.prec):
                break
            total += term
    return +total


def step_size(problem, n_steps, digits):
    """h as a Fraction (interval [0, 1]) or a Decimal (interval [0, 2 pi])."""
    if problem.length == "2pi":
        return 2 * pi(digits) / n_steps
    return F(1, n_steps)


@functools.lru_cache(maxsize=None)
def exact_values(problem, n_steps, digits):
    """y(x_n) for n = 0 .. n_steps at `digits` digits."""
    with localcontext() as ctx:
        ctx.prec = digits
        h = step_size(problem, n_steps, digits)
        if problem.solution == "cos(x)":
            return tuple(cos(h * n) for n in range(n_steps + 1))
        sign = 1 if problem.solution == "exp(x)" else -1
        return tuple(decimal_of(sign * h * n).exp() for n in range(n_steps + 1))


# ------------------------------------------------------------------ integration


def step_weights(a, b, m, problem, h):
    """w_j with y_{n+k} = sum_{j<k} w_j y_{n+j} for y^(m) = lam y: exact in
    fractions when h is rational, else in the current decimal context."""
    k = len(a) - 1
    if isinstance(h, F):
        mu = problem.lam * h**m
        coeff = [x - mu * y for x, y in zip(a, b)]
        if coeff[k] == 0:
            raise ZeroDivisionError("the new value is not determined")
        return [decimal_of(-c / coeff[k]) for c in coeff[:k]]
    mu = problem.lam * h**m
    coeff = [decimal_of(x) - mu * decimal_of(y) for x, y in zip(a, b)]
    return [-c / coeff[k] for c in coeff[:k]]


def global_error(algorithms, m, problem, n_steps, digits, cycle_ends=False):
    """The largest |y_n - y(x_n)| over the grid of n_steps steps, with the
    algorithms (A, B) applied in turn from exact starting values. With
    cycle_ends, only the values of the state after whole cycles count."""
    k = len(algorithms[0][0]) - 1
    exact = exact_values(problem, n_steps, digits)
    with localcontext() as ctx:
        ctx.prec = digits
        h = step_size(problem, n_steps, digits)
        weights = [step_weights(a, b, m, problem, h) for a, b in algorithms]
        y = list(exact[:k])
        for n in range(n_steps - k + 1):
            w = weights[n % len(weights)]
            y.append(sum(wj * yj for wj, yj in zip(w, y[n:])))
        points = range(n_steps + 1)
        if cycle_ends:
            c = len(algorithms)
            points = [i for i in points if i >= k and (i - k + 1) % c == 0]
            points = [j for i in points for j in range(i - k + 1, i + 1)]
        return max(abs(y[i] - exact[i]) for i in points)


def observed_orders(errors):
    """log2(e(h) / e(h/2)) for successive sizes (None where an error is 0)."""
    out = []
    with localcontext() as ctx:
        ctx.prec = 30
        for e1, e2 in zip(errors, errors[1:]):
            out.append(float((e1 / e2).ln() / Decimal(2).ln()) if e1 > 0 and e2 > 0 else None)
    return out


def settled(orders):
    """The integer nearest the last two observed orders when both lie within
    0.1 of it, else None."""
    if len(orders) < 2 or orders[-1] is None or orders[-2] is None:
        return None
    r = round((orders[-1] + orders[-2]) / 2)
    return r if all(abs(o - r) <= 0.1 for o in orders[-2:]) else None


def run_problem(algorithms, m, problem, start, sizes, digits=None, cycle_ends=False):
    """(steps, errors, observed orders, settled order, digits used) of one
    problem; digits None chooses them from the smallest error."""
    used = digits or DEFAULT_DIGITS
    while True:
        steps = [start * 2**i for i in range(sizes)]
        errors = [global_error(algorithms, m, problem, n, used, cycle_ends) for n in steps]
        smallest = min((e for e in errors if e > 0), default=Decimal(1))
        needed = GUARD_DIGITS - smallest.adjusted()
        if digits or needed <= used:
            break
        used = needed
    orders = observed_orders(errors)
    return steps, errors, orders, settled(orders), used


def method_order(results):
    """The smallest settled order of the problems, None if any is unsettled."""
    orders = [r[3] for _, r in results]
    return None if any(o is None for o in orders) else min(orders)


def integrate(paths_or_methods, start=20, sizes=7, digits=None, cycle_ends=False):
    """Runs every problem of the method's m; returns (m, [(problem, result)])."""
    methods = [read_method(p) if isinstance(p, str) else p for p in paths_or_methods]
    k, m = methods[0][0], methods[0][1]
    if any(x[0] != k or x[1] != m for x in methods):
        raise ValueError("every algorithm of a cycle must have the same k and m")
    algorithms = [(x[2], x[3]) for x in methods]
    return m, [(p, run_problem(algorithms, m, p, start, sizes, digits, cycle_ends)) for p in problems(m)]


# ----------------------------------------------------------------- reporting


def error_text(e):
    return "%.5e" % e if e > 0 else "0"


def order_text(o):
    return "-" if o is None else "%.2f" % o


def report(kind, paths, start, sizes, digits):
    m, results = integrate(paths, start, sizes, digits)
    lines = [f"{kind} {' '.join(paths)}: m = {m}"]
    for problem, (steps, errors, orders, order, used) in results:
        lines.append(f"{problem.name}, y = {problem.solution}, {used} digits")
        lines.append("       N  error         observed order")
        for i, (n, e) in enumerate(zip(steps, errors)):
            lines.append(f"  {n:6d}  {error_text(e):12s}  {order_text(orders[i - 1]) if i else ''}")
        lines.append(f"settled order: {order if order is not None else 'unsettled'}")
    total = method_order(results)
    lines.append(f"settled order of the method: {total if total is not None else 'unsettled'}")
    return "\n".join(lines), results


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("kind", choices=["SI", "CI"])
    parser.add_argument("files", nargs="+")
    parser.add_argument("--digits", type=int)
    parser.add_argument("--start", type=int, default=20)
    parser.add_argument("--sizes", type=int, default=7)
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    if args.kind == "SI" and len(args.files) != 1:
        parser.error("SI takes one file")
    text, results = report(args.kind, args.files, args.start, args.sizes, args.digits)
    print(text)
    if args.check:
        used = max(r[4] for _, r in results)
        _, again = integrate(args.files, args.start, args.sizes, 2 * used)
        same = all(
            [error_text(e) for e in r1[1]] == [error_text(e) for e in r2[1]] for (_, r1), (_, r2) in zip(results, again)
        )
        print(f"with {2 * used} digits: {'every printed error the same' if same else 'PRINTED ERRORS DIFFER'}")
        sys.exit(0 if same else 1)


if __name__ == "__main__":
    main()

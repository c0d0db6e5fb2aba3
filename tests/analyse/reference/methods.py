"""Exact helpers of the references: method files, polynomials over the
rationals, real roots by Sturm sequences and the root condition.

A method of step k for y^(m) = f is sum_j A[j] y_{n+j} = h^m sum_j B[j] f_{n+j},
j = 0..k. Everything here is exact (fractions.Fraction); nothing is rounded.
Polynomials are lists of coefficients, lowest degree first.
"""

import math
from fractions import Fraction as F

# ---------------------------------------------------------------- method files


def read_method(path, number=F):
    """(k, m, A, B) of a method file, every coefficient read by `number`
    (exactly as written by default: decimals, exponents and p/q alike)."""
    with open(path) as f:
        tokens = f.read().split()
    k, m = int(tokens[0]), int(tokens[1])
    values = [number(t) for t in tokens[2:]]
    if len(values) != 2 * k + 2:
        raise ValueError(f"{path}: {len(values)} coefficients, expected {2 * k + 2}")
    return k, m, values[: k + 1], values[k + 1 :]


def fraction_text(x):
    """An integer as such, any other rational as p/q."""
    x = F(x)
    return str(x.numerator) if x.denominator == 1 else f"{x.numerator}/{x.denominator}"


def method_text(k, m, a, b, number=fraction_text):
    """The text of a method file, each coefficient written by `number`."""
    return "%d %d\n%s\n%s\n" % (k, m, " ".join(number(x) for x in a), " ".join(number(x) for x in b))


# ---------------------------------------------------------------- polynomials


def trim(p):
    p = [F(x) for x in p]
    while p and p[-1] == 0:
        p.pop()
    return p


def degree(p):
    return len(trim(p)) - 1


def reverse(p):
    """z^n p(1/z) for p of degree n: the coefficients in reverse order."""
    return trim(p)[::-1]


def derivative(p):
    return trim([j * x for j, x in enumerate(p)][1:])


def poly_add(p, q):
    n = max(len(p), len(q))
    return trim([(p[i] if i < len(p) else 0) + (q[i] if i < len(q) else 0) for i in range(n)])


def poly_scale(p, c):
    return trim([c * x for x in p])


def poly_mul(p, q):
    out = [F(0)] * (len(p) + len(q) - 1) if p and q else []
    for i, x in enumerate(p):
        for j, y in enumerate(q):
            out[i + j] += x * y
    return trim(out)


def poly_divmod(p, d):
    """Quotient and remainder of p by d (d not zero)."""
    p, d = trim(p), trim(d)
    quot = [F(0)] * max(len(p) - len(d) + 1, 0)
    rem = list(p)
    while len(rem) >= len(d):
        c = rem[-1] / d[-1]
        shift = len(rem) - len(d)
        quot[shift] = c
        for j, x in enumerate(d):
            rem[shift + j] -= c * x
        rem = trim(rem[:-1])
    return trim(quot), trim(rem)


def poly_eval(p, x):
    value = 0
    for c in reversed(p):
        value = value * x + c
    return value


def monic(p):
    p = trim(p)
    return [x / p[-1] for x in p]


def poly_gcd(p, q):
    """The monic greatest common divisor ([1] for coprime polynomials)."""
    p, q = trim(p), trim(q)
    while q:
        p, q = q, poly_divmod(p, q)[1]
    return monic(p)


def squarefree(p):
    """p with every root simple."""
    return poly_divmod(p, poly_gcd(p, derivative(p)))[0] if degree(p) > 0 else p


def sturm_sequence(p):
    seq = [trim(p), derivative(p)]
    while seq[-1]:
        seq.append(poly_scale(poly_divmod(seq[-2], seq[-1])[1], -1))
    return seq[:-1]


def sign_changes(seq, x):
    """Sign changes of a Sturm sequence at x."""
    signs = [v > 0 for v in (poly_eval(q, x) for q in seq) if v != 0]
    return sum(1 for u, v in zip(signs, signs[1:]) if u != v)


def sturm_count(p, lo, hi):
    """Number of distinct real roots of p in (lo, hi), neither end a root."""
    seq = sturm_sequence(p)
    return sign_changes(seq, lo) - sign_changes(seq, hi)


def simplest_between(lo, hi):
    """The fraction of smallest denominator in [lo, hi] (continued fractions)."""
    if lo <= 0 <= hi:
        return F(0)
    if hi < 0:
        return -simplest_between(-hi, -lo)
    whole = math.floor(lo)
    if whole == lo or whole + 1 <= hi:
        return F(whole if whole == lo else whole + 1)
    return whole + 1 / simplest_between(1 / (hi - whole), 1 / (lo - whole))


# ------------------------------------------------------------- root condition


def all_strictly_inside(p):
    """True when every root of p lies in the open unit disk (Schur-Cohn: p has
    them all inside iff |p(0)| < |lead| and (lead p - p(0) p*)/z has them all
    inside, p* = z^n p(1/z)). Exact for rational coefficients."""
    p = trim(p)
    if not p:
        return False
    while len(p) > 1:
        a0, an = p[0], p[-1]
        if abs(a0) >= abs(an):
            return False
        t = [an * x - a0 * y for x, y in zip(p, reverse(p))]
        p = monic(t[1:])
    return True


def largest_multiplicity_at_most(p, bound):
    """True when no root of p has multiplicity above bound."""
    g = trim(p)
    for _ in range(bound):
        g = poly_gcd(g, derivative(g))
    return degree(g) == 0


def split_unit_roots(g):
    """For g whose roots come in pairs r, 1/r: the multiplicities of the
    roots 1 and -1, and the rest as a polynomial H in x = z + 1/z (roots on
    the circle, other than +-1, are the real roots of H in (-2, 2))."""
    g = trim(g)
    mult = {}
    for root in (F(1), F(-1)):
        mult[root] = 0
        while degree(g) > 0:
            quot, rem = poly_divmod(g, [-root, F(1)])
            if rem:
                break
            g, mult[root] = quot, mult[root] + 1
    n = degree(g)
    assert n % 2 == 0 and g == reverse(g), "not self-reciprocal"
    d = n // 2
    # z^-d g(z) = g[d] + sum_j g[d+j] (z^j + z^-j), and z^j + z^-j = D_j(x)
    # with D_0 = 2, D_1 = x, D_(j+1) = x D_j - D_(j-1).
    prev, cur = [F(2)], [F(0), F(1)]
    h = [g[d]]
    for j in range(1, d + 1):
        h = poly_add(h, [g[d + j] * c for c in cur])
        prev, cur = cur, poly_add([F(0)] + cur, [-c for c in prev])
    return mult, trim(h)


def root_condition(p, multiplicity=1):
    """True when every root of p lies in the closed unit disk and those on
    the circle have multiplicity at most `multiplicity`. Exact: the roots on
    the circle are among those of g = gcd(p, p*); the rest of p must have all
    roots strictly inside (Schur-Cohn), and every root of g must lie on the
    circle (g's roots come in pairs r, 1/r; with x = z + 1/z they are the
    roots of a polynomial that must have them all real in (-2, 2), counted by
    Sturm sequences)."""
    p = trim(p)
    g = poly_gcd(p, reverse(p))
    if not all_strictly_inside(poly_divmod(p, g)[0]):
        return False
    mult, h = split_unit_roots(g)
    if max(mult.values()) > multiplicity:
        return False
    if not largest_multiplicity_at_most(h, multiplicity):
        return False
    h = squarefree(h)
    return sturm_count(h, F(-2), F(2)) == degree(h)

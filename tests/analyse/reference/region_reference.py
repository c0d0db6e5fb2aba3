#!/usr/bin/env python3
"""Reference values of linear stability for method files, found independently
of ordimet-analyse in exact rational arithmetic (Python's standard library
only), to check the program's reports against.

    python3 region_reference.py FILE...   the values of each method file
    python3 region_reference.py --table   the table of every example method,
                                          as stored in region_reference.txt
    python3 region_reference.py --check   the values known in closed form or
                                          from the literature come out
    python3 region_reference.py --fractions FILE...
                                          each file with its coefficients as
                                          the exact fractions read here

For y' = f (m = 1), on y' = lambda y with z = h lambda and
pi(zeta; z) = rho(zeta) - z sigma(zeta), the region S holds the z where every
root of pi has modulus at most 1 and those of modulus 1 are simple:

  a          the largest (-a, 0) inside S: "none", "inf" or a number
  A-stable   S holds the open left half-plane
  alpha      the largest alpha (degrees) whose open wedge |arg(-z)| < alpha
             lies in S; 0 when the whole negative axis is not in S

For y'' = f (m = 2), on y'' = -w^2 y with H = h w, s = H^2 and
pi(zeta; s) = rho(zeta) + s sigma(zeta):

  Hp^2       end of the interval of periodicity (0, Hp^2): the principal roots
             (those that leave 1 as s grows from 0) on the unit circle, every
             root in the closed disk, simple where on the circle
  Ha^2       end of the interval of absolute stability: every root inside
  P-stable   Hp^2 is "inf"
  phase lag  order q and constant c of Re(theta(H)) - H = c H^(q+1) + ...,
             where e^(i theta(H)) is the principal root with theta ~ H

How it decides, and how sure each kind of value is:

* Coefficients are read as the exact fractions the file stands for: a decimal
  with fewer than 10 digits after the point is taken as written; a longer one
  (the rounded values of the example files) as the simplest fraction within
  half a unit of its last digit or 2^-52 of its size. --table checks every
  example against the exact derivation of examples/derive.py.
* A root of pi lies on the unit circle, zeta = e^(i theta), only where the
  parameter equals rho/sigma (m = 1) or -rho/sigma (m = 2) there. With
  x = cos(theta), rho(zeta) conj(sigma(zeta)) = N(x) + i sin(theta) P(x) and
  |sigma(zeta)|^2 = M(x), all polynomials in x with rational coefficients.
  The parameter is real at theta = 0, pi and at the roots of P in (-1, 1);
  those real roots are isolated exactly (Sturm sequences) and narrowed to
  width 2^-110, which gives every crossing of the real axis to far more than
  6 digits. Between two such values no root meets the circle, so whether all
  roots are strictly inside is the same throughout; it is decided exactly at
  one rational point by the Schur-Cohn reduction.
* When P is identically zero (symmetric methods for y'' = f), the roots on the
  circle stay on it as s moves and can only leave it by meeting another root,
  so the census changes only at the real roots of the discriminant of pi in
  zeta (a polynomial in s found exactly by interpolating Sylvester
  determinants). Between them it is decided exactly at a rational point:
  gcd(pi, pi*) must have only simple roots, all on the circle (with
  x = zeta + 1/zeta, the roots other than +-1 are those of a polynomial in x
  that must have them all real in (-2, 2), counted with Sturm sequences), and
  pi / gcd strictly inside (methods.root_condition). When P is not identically zero the principal roots leave the circle
  at once, so there is no interval of periodicity: decided exactly.
* At a transition point itself, between two stretches that both belong, the
  point belongs unless a double root lies on the circle there; that is judged
  from double-precision roots (a double root on the circle shows as two roots
  closer than 1e-5 within 1e-6 of the circle). An end that rests on such a
  judgement is printed with a trailing "~"; no example's end does.
* A root at infinity (the leading coefficient of pi vanishing) puts that
  parameter outside every set. With sigma = 0, pi = rho for every z, and S is
  the whole plane or empty as rho's roots decide; with every coefficient 0
  nothing is analysed ("n/a").
* A-stability is exact: the locus may not enter the open left half-plane
  (N(x) >= 0 on [-1, 1], checked at its real roots and between them) and the
  whole negative axis must be in S.
* alpha is numerical: the smallest |arg(-z(theta))| over the boundary locus,
  sampled at 20000 points of (0, pi] and refined around each local minimum by
  golden-section search in double precision; good to far below 0.005 degrees
  unless a dip narrower than the sampling exists. Every point of the locus
  lies in the closure of the complement of S, so the locus crossing itself
  (BDF 5 and 6) doesn't matter.
* The phase lag is an exact power series: H^2 = -rho/sigma (e^(i theta)) in
  theta, inverted by Lagrange's formula with Gaussian rational coefficients.
"""

import cmath
import math
import os
import sys
from decimal import Decimal
from fractions import Fraction as F

from methods import (  # exact helpers shared with the other references
    all_strictly_inside,
    derivative,
    method_text,
    poly_add,
    poly_divmod,
    poly_eval,
    poly_mul,
    poly_scale,
    read_method,
    root_condition,
    sign_changes,
    simplest_between,
    squarefree,
    sturm_sequence,
    trim,
)

EXAMPLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "examples")

# ------------------------------------------------------------ real roots


def root_bound(p):
    return 1 + max(abs(c / p[-1]) for c in p[:-1]) if len(p) > 1 else F(1)


REFINE_WIDTH = F(1, 2**110)


def real_roots(p, lo, hi):
    """The real roots of p in the closed interval [lo, hi], ascending, each a
    Fraction within REFINE_WIDTH of the root, exact for a rational root."""
    p = squarefree(trim(p))
    if len(p) <= 1:
        return []
    seq = sturm_sequence(p)
    found = []
    for end in (lo, hi):
        if poly_eval(p, end) == 0:
            found.append(end)

    def count(a, b):  # roots in (a, b], a and b not roots
        return sign_changes(seq, a) - sign_changes(seq, b)

    def clear(r, a, b):
        """A neighbourhood (r - d, r + d) inside (a, b) holding no other root."""
        d = (b - a) / 4
        while poly_eval(p, r - d) == 0 or poly_eval(p, r + d) == 0 or count(r - d, r + d) != 1:
            d /= 2
        return d

    a, b = lo, hi
    if found and found[0] == lo:
        a = lo + clear(lo, lo - (hi - lo), hi)
    if found and found[-1] == hi and hi != lo:
        b = hi - clear(hi, lo, hi + (hi - lo))
    stack = [(a, b)] if a < b else []
    while stack:
        a, b = stack.pop()
        n = count(a, b)
        if n == 0:
            continue
        if n == 1:
            while b - a > REFINE_WIDTH:
                m = (a + b) / 2
                vm = poly_eval(p, m)
                if vm == 0:
                    a = b = m
                    break
                if (vm > 0) == (poly_eval(p, a) > 0):
                    a = m
                else:
                    b = m
            # a rational root of small denominator is the simplest
            # fraction of the narrowed interval: then it is found exactly
            r = simplest_between(a, b)
            found.append(r if poly_eval(p, r) == 0 else (a + b) / 2)
            continue
        m = (a + b) / 2
        if poly_eval(p, m) == 0:
            found.append(m)
            d = clear(m, a, b)
            stack += [(a, m - d), (m + d, b)]
        else:
            stack += [(a, m), (m, b)]
    return sorted(set(found))


def chebyshev(n, kind):
    """T_n (kind 1) or U_n (kind 2) as a polynomial in x; U_{-1} = 0."""
    if n < 0:
        return []
    prev, cur = [F(1)], ([F(0), F(1)] if kind == 1 else [F(0), F(2)])
    if n == 0:
        return prev
    for _ in range(n - 1):
        prev, cur = cur, poly_add(poly_mul([F(0), F(2)], cur), poly_scale(prev, -1))
    return cur


# ------------------------------------------------------- numerical roots


def numeric_roots(coeffs):
    """Roots of a polynomial (coefficients lowest first) by Aberth's method in
    double precision."""
    c = [complex(x) for x in coeffs]
    while c and c[-1] == 0:
        c.pop()
    n = len(c) - 1
    if n < 1:
        return []
    c = [x / c[-1] for x in c]
    radius = max(abs(x) ** (1.0 / (n - j)) for j, x in enumerate(c[:-1])) or 1.0
    z = [radius * cmath.exp(2j * math.pi * (i + 0.25) / n) for i in range(n)]

    def value_and_slope(x):
        v, d = 0j, 0j
        for a in reversed(c):
            d = d * x + v
            v = v * x + a
        return v, d

    for _ in range(500):
        biggest = 0.0
        for i in range(n):
            v, d = value_and_slope(z[i])
            if v == 0:
                continue
            ratio = v / d if d != 0 else 1e-3
            s = sum(1 / (z[i] - z[j]) for j in range(n) if j != i and z[i] != z[j])
            step = ratio / (1 - ratio * s)
            z[i] -= step
            biggest = max(biggest, abs(step) / max(1.0, abs(z[i])))
        if biggest < 1e-16:
            break
    return z


def numeric_in_set(coeffs):
    """Judges a transition point: every root in the closed disk (within 1e-6)
    and no two roots on the circle within 1e-5 of each other."""
    roots = numeric_roots(coeffs)
    if len(roots) < len(trim(coeffs)) - 1 or any(abs(r) > 1 + 1e-6 for r in roots):
        return False
    on = [r for r in roots if abs(r) > 1 - 1e-6]
    return all(abs(a - b) > 1e-5 for i, a in enumerate(on) for b in on[i + 1 :])


# ---------------------------------------------------------------- reading


def exact_number(text):
    d = Decimal(text)
    x = F(d)
    places = -d.as_tuple().exponent
    if places < 10:
        return x
    tol = max(F(1, 2 * 10**places), abs(x) / 2**52)
    return simplest_between(x - tol, x + tol)


def reduce_columns(a, b):
    """Columns zero in both A and B at either end only add roots 0 or lower
    the degree; they are dropped."""
    a, b = list(a), list(b)
    while a and a[0] == 0 and b[0] == 0:
        a.pop(0), b.pop(0)
    while a and a[-1] == 0 and b[-1] == 0:
        a.pop(), b.pop()
    return a, b


# ------------------------------------------------------ the boundary locus


def locus_polynomials(a, b):
    """N, P, M of rho conj(sigma) = N(x) + i sin(theta) P(x) and
    |sigma|^2 = M(x) at zeta = e^(i theta), x = cos(theta)."""
    n, p, m = [], [], []
    for j, aj in enumerate(a):
        for l, bl in enumerate(b):
            d = abs(j - l)
            n = poly_add(n, poly_scale(chebyshev(d, 1), aj * bl))
            if j != l:
                p = poly_add(p, poly_scale(chebyshev(d - 1, 2), aj * bl * (1 if j > l else -1)))
    for j, bj in enumerate(b):
        for l, bl in enumerate(b):
            m = poly_add(m, poly_scale(chebyshev(abs(j - l), 1), bj * bl))
    return n, p, m


def real_locus_values(a, b):
    """The real values of rho/sigma on the unit circle: at theta = 0, pi and at
    the roots of P; points where sigma vanishes are left out."""
    n, p, m = locus_polynomials(a, b)
    xs = set([F(1), F(-1)]) | set(real_roots(p, F(-1), F(1)))
    out = []
    for x in xs:
        mx = poly_eval(m, x)
        if abs(mx) > F(1, 10**20):
            out.append(poly_eval(n, x) / mx)
    return out


class End:
    """The end of an interval from 0: None (no interval), "inf" or a
    Fraction; judged is set when a transition point inside the interval was
    let through on double-precision roots (point_ok)."""

    def __init__(self, value, judged=False):
        self.value, self.judged = value, judged


def walk(candidates, sample_ok, point_ok, direction):
    """The largest interval from 0 in the given direction (+1 or -1) on which
    sample_ok holds on the stretches between the candidates and point_ok at
    the candidates between two such stretches."""
    cands = sorted((c for c in candidates if c * direction > F(1, 10**25)), key=lambda c: c * direction)
    bounds = [F(0)] + cands

    def stretch_ok(i):  # the stretch that begins at bounds[i]
        if i + 1 < len(bounds):
            return sample_ok((bounds[i] + bounds[i + 1]) / 2)
        return sample_ok(2 * bounds[i] + direction)

    if not stretch_ok(0):
        return End(None)
    judged = False
    for i, c in enumerate(cands):
        if not stretch_ok(i + 1):
            return End(c, judged)
        if not point_ok(c):
            return End(c, judged)
        judged = True
    return End("inf", judged)


# ------------------------------------------------------------------- m = 1


def stability_first_order(a, b):
    def pi(z):
        return trim([x - z * y for x, y in zip(a, b)])

    if not trim(b):  # pi = rho for every z: S is everything or nothing
        inside = root_condition(trim(a))
        return {"a": End("inf" if inside else None), "a_stable": inside, "alpha": 90.0 if inside else 0.0}
    n, p, m = locus_polynomials(a, b)
    if not p:
        raise ValueError("the boundary locus lies on the real axis: not handled")
    cands = real_locus_values(a, b)
    if b[-1] != 0:
        cands.append(a[-1] / b[-1])  # a root at infinity there
    end = walk(
        cands,
        lambda z: all_strictly_inside(pi(z)),
        lambda z: numeric_in_set([float(x) for x in pi(z)]),
        -1,
    )
    if isinstance(end.value, F):
        end.value = -end.value
    a_end = end.value
    a_stable = a_end == "inf" and all(v >= 0 for v in sign_samples(n, F(-1), F(1)))
    if a_stable:
        alpha = 90.0
    elif a_end != "inf":
        alpha = 0.0
    else:
        alpha = min_locus_angle(a, b)
    return {"a": end, "a_stable": a_stable, "alpha": alpha}


def sign_samples(p, lo, hi):
    """Values of p at its real roots in [lo, hi], between them and at the ends:
    enough to know its sign everywhere there."""
    xs = [lo] + real_roots(p, lo, hi) + [hi]
    pts = xs + [(u + v) / 2 for u, v in zip(xs, xs[1:])]
    return [poly_eval(p, x) for x in pts]


def min_locus_angle(a, b):
    """The smallest |arg(-z)| in degrees over z(theta) = rho/sigma(e^(i theta))
    for theta in (0, pi]: conjugate points give the same angles."""
    af, bf = [float(x) for x in a], [float(x) for x in b]

    def angle(theta):
        zeta = cmath.exp(1j * theta)
        r = sum(c * zeta**j for j, c in enumerate(af))
        s = sum(c * zeta**j for j, c in enumerate(bf))
        if abs(s) < 1e-300:
            return 180.0
        z = r / s
        if z == 0:
            return 180.0
        return abs(math.degrees(cmath.phase(-z)))

    samples = 20000
    thetas = [math.pi * i / samples for i in range(1, samples + 1)]
    values = [angle(t) for t in thetas]
    best = min(values)
    for i in range(len(values)):
        left = values[i - 1] if i > 0 else float("inf")
        right = values[i + 1] if i + 1 < len(values) else float("inf")
        if values[i] <= left and values[i] <= right:
            lo = thetas[i - 1] if i > 0 else thetas[i] / 2
            hi = thetas[i + 1] if i + 1 < len(values) else math.pi
            g = (math.sqrt(5) - 1) / 2
            for _ in range(200):
                c, d = hi - g * (hi - lo), lo + g * (hi - lo)
                if angle(c) < angle(d):
                    hi = d
                else:
                    lo = c
            best = min(best, angle((lo + hi) / 2))
    return best


# ------------------------------------------------------------------- m = 2


def sylvester_determinant(f, g):
    """Resultant of f and g with their formal degrees len - 1 (exact)."""
    n, mdeg = len(f) - 1, len(g) - 1
    size = n + mdeg
    rows = []
    for i in range(mdeg):
        row = [F(0)] * size
        for j, c in enumerate(reversed(f)):
            row[i + j] = c
        rows.append(row)
    for i in range(n):
        row = [F(0)] * size
        for j, c in enumerate(reversed(g)):
            row[i + j] = c
        rows.append(row)
    det = F(1)
    for col in range(size):
        piv = next((r for r in range(col, size) if rows[r][col] != 0), None)
        if piv is None:
            return F(0)
        if piv != col:
            rows[col], rows[piv] = rows[piv], rows[col]
            det = -det
        det *= rows[col][col]
        for r in range(col + 1, size):
            if rows[r][col] != 0:
                f_ = rows[r][col] / rows[col][col]
                rows[r] = [x - f_ * y for x, y in zip(rows[r], rows[col])]
    return det


def interpolate(xs, ys):
    """The polynomial through the points (Newton's divided differences)."""
    coef = list(ys)
    n = len(xs)
    for j in range(1, n):
        for i in range(n - 1, j - 1, -1):
            coef[i] = (coef[i] - coef[i - 1]) / (xs[i] - xs[i - j])
    p = []
    for i in range(n - 1, -1, -1):
        p = poly_add(poly_mul(p, [-xs[i], F(1)]), [coef[i]])
    return p


def collision_polynomial(a, b):
    """Resultant of pi and d pi/d zeta in zeta, as a polynomial in s: zero
    where pi has a multiple root or its leading coefficient vanishes."""
    n = len(a) - 1

    def at(s):
        f = [x + s * y for x, y in zip(a, b)]
        return sylvester_determinant(f, [j * f[j] for j in range(1, n + 1)])

    xs = [F(i) for i in range(2 * n + 2)]
    poly = interpolate(xs, [at(x) for x in xs])
    assert poly_eval(poly, F(2 * n + 7, 3)) == at(F(2 * n + 7, 3)), "degree of the discriminant"
    return poly


def stability_second_order(a, b):
    def pi(s):
        return trim([x + s * y for x, y in zip(a, b)])

    out = {}
    n, p, m = locus_polynomials(a, b)
    rho1, drho1 = sum(a), sum(j * x for j, x in enumerate(a))
    # principal roots leave 1 as s grows from 0 only for a double root 1 of rho
    # with -rho/sigma = theta^2 (...) > 0 near theta = 0
    principal = rho1 == 0 and drho1 == 0 and sum(b) != 0
    if principal:
        d2 = sum(j * (j - 1) * x for j, x in enumerate(a))
        principal = d2 / sum(b) > 0

    def point_ok(s):
        return numeric_in_set([float(x) for x in pi(s)])

    if p or not principal:
        out["periodicity"] = End(None)
    else:
        collisions = squarefree(collision_polynomial(a, b))
        if not collisions:
            raise ValueError("pi has a multiple root for every s: not handled")
        cands = real_roots(collisions, F(0), root_bound(collisions))
        out["periodicity"] = walk(cands, lambda s: root_condition(pi(s)), point_ok, +1)
    if p:
        cands = [-v for v in real_locus_values(a, b)]
        if b[-1] != 0:
            cands.append(-a[-1] / b[-1])
        out["absolute"] = walk(cands, lambda s: all_strictly_inside(pi(s)), lambda s: False, +1)
    else:
        # every s = -rho/sigma(e^(i theta)) puts a root on the circle, and
        # those values fill an interval from 0 into s > 0 when principal
        out["absolute"] = End(None)
        if not principal:
            raise ValueError("symmetric locus without principal roots: not handled")
    out["p_stable"] = out["periodicity"].value == "inf"
    out["phase"] = phase_lag(a, b) if principal else None
    return out


# --------------------------------------------------------------- phase lag


class Gauss:
    """A Gaussian rational re + i im."""

    __slots__ = ("re", "im")

    def __init__(self, re, im=F(0)):
        self.re, self.im = F(re), F(im)

    def __add__(self, o):
        return Gauss(self.re + o.re, self.im + o.im)

    def __sub__(self, o):
        return Gauss(self.re - o.re, self.im - o.im)

    def __mul__(self, o):
        if isinstance(o, Gauss):
            return Gauss(self.re * o.re - self.im * o.im, self.re * o.im + self.im * o.re)
        return Gauss(self.re * o, self.im * o)

    def __truediv__(self, o):
        if isinstance(o, Gauss):
            d = o.re * o.re + o.im * o.im
            return Gauss((self.re * o.re + self.im * o.im) / d, (self.im * o.re - self.re * o.im) / d)
        return Gauss(self.re / o, self.im / o)

    def is_zero(self):
        return self.re == 0 and self.im == 0


I_POWERS = [Gauss(1), Gauss(0, 1), Gauss(-1), Gauss(0, -1)]


def series_on_circle(c, terms):
    """sum_j c[j] e^(i j theta) as a power series in theta."""
    return [
        I_POWERS[t % 4] * (sum(x * F(j) ** t for j, x in enumerate(c)) / math.factorial(t))
        for t in range(terms)
    ]


def series_mul(s, t, terms):
    return [
        sum((s[j] * t[i - j] for j in range(i + 1)), Gauss(0)) for i in range(terms)
    ]


def series_div(s, t, terms):
    out = []
    for i in range(terms):
        acc = s[i]
        for j in range(1, i + 1):
            acc = acc - t[j] * out[i - j]
        out.append(acc / t[0])
    return out


def series_power(u, alpha, terms):
    """u^alpha for a series with u[0] = 1."""
    v = [Gauss(1)]
    for n in range(1, terms):
        acc = Gauss(0)
        for k in range(1, n + 1):
            acc = acc + u[k] * v[n - k] * ((alpha + 1) * k - n)
        v.append(acc / n)
    return v


def phase_lag(a, b, terms=24):
    """(q, c) of Re(theta(H)) - H = c H^(q+1) + ..., or ("none", 0) when the
    real part vanishes to the order computed (theta(H) = H exactly to it)."""
    rho = series_on_circle(a, terms + 2)
    sigma = series_on_circle(b, terms + 2)
    g = [Gauss(0) - x for x in series_div(rho, sigma, terms + 2)]
    if not (g[0].is_zero() and g[1].is_zero() and g[2].re == 1 and g[2].im == 0):
        return None  # not consistent: theta is not H + o(H)
    u = g[2 : terms + 2]  # H^2 = theta^2 u(theta)
    w = series_power(u, F(-1, 2), terms)  # theta / H(theta)
    # Lagrange: [H^n] theta(H) = (1/n) [theta^(n-1)] w^n
    power = [Gauss(1)] + [Gauss(0)] * (terms - 1)
    for n in range(1, terms + 1):
        power = series_mul(power, w, terms)
        coef = power[n - 1] / n
        if n >= 2 and coef.re != 0:
            return n - 1, coef.re
    return "none", F(0)


# -------------------------------------------------------------- reporting


def analyse(path):
    k, m, a, b = read_method(path, exact_number)
    a, b = reduce_columns(a, b)
    if not a:
        return k, m, a, b, None
    if m == 1:
        return k, m, a, b, stability_first_order(a, b)
    if m == 2:
        return k, m, a, b, stability_second_order(a, b)
    return k, m, a, b, None


def end_text(end):
    """6 significant digits; a trailing "~" marks an end that rests on a
    transition point judged from double-precision roots."""
    mark = "~" if end.judged else ""
    if end.value is None:
        return "none" + mark
    if end.value == "inf":
        return "inf" + mark
    return "%.6g" % float(end.value) + mark


def row(name, m, result):
    if result is None:
        return [name, str(m)] + ["n/a"] * 8
    yes = {True: "yes", False: "no"}
    if m == 1:
        return [name, "1", end_text(result["a"]), yes[result["a_stable"]], "%.2f" % result["alpha"]] + ["-"] * 5
    phase = ("n/a", "n/a") if result["phase"] is None else map(str, result["phase"])
    return [name, "2", "-", "-", "-", end_text(result["periodicity"]), end_text(result["absolute"]),
            yes[result["p_stable"]], *phase]


HEADER = "# file,m,a,A-stable,alpha,Hp^2,Ha^2,P-stable,lag_q,lag_c".split(",")

LEGEND = """\
# Linear stability of every example method (m = 1 and m = 2), from
# tests/analyse/reference/region_reference.py. a: the real stability interval
# is (-a, 0); alpha: the A(alpha) angle in degrees; Hp^2 and Ha^2: the ends of
# the intervals of periodicity (0, Hp^2) and absolute stability (0, Ha^2) in
# H^2 = (h w)^2; lag_q, lag_c: Re(theta(H)) - H = lag_c H^(lag_q + 1) + ...
# Ends have 6 significant digits, "none" for no interval, "inf" for the whole
# half-axis; "-" for a column of the other equation order, "n/a" where nothing
# is left to analyse (every coefficient 0) or the method is not consistent.
"""


def format_table(rows):
    widths = [max(len(r[i]) for r in rows) for i in range(len(rows[0]))]
    return "".join("  ".join(c.ljust(w) for c, w in zip(r, widths)).rstrip() + "\n" for r in rows)


def derived_coefficients(examples):
    """{file name: (A, B)} of the examples' own exact derivation."""
    sys.path.insert(0, examples)
    import derive  # the examples' derivation script

    return {entry[0]: (entry[5], entry[6]) for entry in derive.catalogue()}


def table(examples):
    derived = derived_coefficients(examples)
    rows = [HEADER]
    for name in sorted(os.listdir(examples)):
        if not name.endswith(".txt"):
            continue
        path = os.path.join(examples, name)
        k, m, a, b = read_method(path, exact_number)
        # the fractions read must be the derived ones, where there are any
        assert derived.get(name, (a, b)) == (a, b), name
        rows.append(row(name, m, analyse(path)[4]))
    return LEGEND + format_table(rows)


# Values known in closed form or from the literature: (file, quantity,
# value). Interval ends are exact fractions, "inf" or None; alpha is the
# printed text.
KNOWN = [
    ("adams-bashforth-2.txt", "a", F(1)),
    ("adams-bashforth-3.txt", "a", F(6, 11)),
    ("adams-bashforth-4.txt", "a", F(3, 10)),
    ("euler-forward.txt", "a", F(2)),
    ("explicit-2-step-order-3.txt", "a", None),
    ("trapezoidal-rule.txt", "a_stable", True),
    ("euler-backward.txt", "a_stable", True),
    ("bdf-2.txt", "a_stable", True),
    ("bdf-3.txt", "a_stable", False),
    ("bdf-3.txt", "alpha", "86.03"),
    ("bdf-4.txt", "alpha", "73.35"),
    ("bdf-5.txt", "alpha", "51.84"),
    ("bdf-6.txt", "alpha", "17.84"),
    ("stormer.txt", "periodicity", F(4)),
    ("stormer.txt", "absolute", None),
    ("numerov.txt", "periodicity", F(6)),
    ("p-stable-2-step.txt", "periodicity", "inf"),
    ("symmetric-4-step.txt", "periodicity", F(60, 11)),
    ("second-order-backward-2.txt", "periodicity", None),
    ("second-order-backward-2.txt", "absolute", "inf"),
    ("second-order-backward-3.txt", "absolute", F(28, 5)),
    # cos(theta) = 1 - H^2/2, so theta = 2 arcsin(H/2) = H + H^3/24 + ...
    ("stormer.txt", "phase", (2, F(1, 24))),
    # tan(theta/2) = H/2, so theta = 2 arctan(H/2) = H - H^3/12 + ...
    ("p-stable-2-step.txt", "phase", (2, F(-1, 12))),
    # roots (1 +- iH)/(1 + H^2), so Re theta = arctan(H) = H - H^3/3 + ...
    ("second-order-backward-2.txt", "phase", (2, F(-1, 3))),
]


def check_known(examples):
    failures = 0
    for name, quantity, want in KNOWN:
        result = analyse(os.path.join(examples, name))[4]
        got = result[quantity]
        if isinstance(got, End):
            got = got.value
        elif quantity == "alpha":
            got = "%.2f" % got
        if got != want:
            print("%s %s: %s, expected %s" % (name, quantity, got, want))
            failures += 1
    print("%d of %d known values reproduced" % (len(KNOWN) - failures, len(KNOWN)))
    return 1 if failures else 0


def main(argv):
    if argv == ["--table"]:
        sys.stdout.write(table(EXAMPLES))
        return 0
    if argv == ["--check"]:
        return check_known(EXAMPLES)
    if argv[:1] == ["--fractions"]:  # the files as the exact fractions read here
        for path in argv[1:]:
            sys.stdout.write(method_text(*read_method(path, exact_number)))
        return 0
    if not argv or any(x.startswith("-") for x in argv):
        sys.stderr.write(__doc__)
        return 2
    rows = [HEADER]
    for path in argv:
        k, m, a, b, result = analyse(path)
        rows.append(row(os.path.basename(path), m, result))
    sys.stdout.write(format_table(rows))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

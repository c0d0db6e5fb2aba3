// Linear stability on the test equations, decided by exact algebra.
//
// Both m = 1 on the negative real axis (z = -x) and m = 2 (x = H^2) study
// the family P(zeta, x) = rho(zeta) + x sigma(zeta) for x > 0. The
// configuration of its roots against the unit circle changes only where
//   - a root crosses the circle,
//   - two roots meet (on the circle a pair can leave it only so), or
//   - the degree in zeta drops.
// Let Q be the squarefree part of P in zeta, G = gcd(Q, Q*) its part that is
// self-reciprocal for every x (Q* the reversed Q: G's roots lie on the
// circle or in pairs zeta, 1/conj(zeta)) and h = Q / G. The roots of h meet
// the circle only where Res(h, h*) vanishes, a polynomial in x that is not
// zero since h and h* are coprime; roots meet where disc(Q) vanishes; the
// degree drops where A[k] + x B[k] does. The positive real roots of these
// polynomials in x, the breakpoints, are isolated exactly (Descartes' rule
// of signs and bisection, with rational ends); between two of
// them the roots keep their places, so one rational x per gap decides the
// gap with the certified root condition. At a breakpoint b itself, reached
// from a gap where every root lies in the closed disk, the roots are in the
// closed disk by continuity, and what remains (a root on the circle, or a
// multiple one) is decided by whether b is a root of Res(h, h*), disc(G) or
// disc(Q), or in the rare cases these leave open, by the gcd of P, P* (and
// dP/dzeta) over the number field Q[x]/(f), f the irreducible factor of b.
//
// The A(alpha) angle is the smallest |arg(-z)| over the points of the
// boundary locus z(theta) = rho(e^{i theta}) / sigma(e^{i theta}) in the
// open left half-plane: every locus point is a limit of points outside S
// (the root on the circle moves off it to both sides), and a wedge free of
// the locus that holds the negative real axis lies wholly in S. The parts of
// the circle whose locus lies in the left half-plane are found exactly (the
// sign changes of Re(rho conj(sigma)), a polynomial in cos theta); the angle
// is then minimised over them in doubles.
//
// The phase lag comes from the series of the principal root: with
// zeta = e^u, H^2 = -rho(e^u) / sigma(e^u) = -u^2 g(u), and the series of
// u sqrt(g(u)) = iH is reverted exactly in rational arithmetic
// (docs/analyse-math.md).

#include "analyse/region.hpp"

#include "analyse/exact.hpp"
#include "analyse/flint_handles.hpp"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <deque>
#include <flint/fmpz_mpoly.h>
#include <numbers>

namespace ordimet::analyse {
namespace {

constexpr slong ZETA = 0;
constexpr slong PARAMETER = 1;

class MpolyContext {
  public:
    MpolyContext() { fmpz_mpoly_ctx_init(value_, 2, ORD_LEX); }
    ~MpolyContext() { fmpz_mpoly_ctx_clear(value_); }
    MpolyContext(const MpolyContext&) = delete;
    MpolyContext& operator=(const MpolyContext&) = delete;
    const fmpz_mpoly_ctx_struct* get() const { return value_; }

  private:
    fmpz_mpoly_ctx_t value_;
};

class Mpoly {
  public:
    explicit Mpoly(const MpolyContext& context) : context_(context) {
        fmpz_mpoly_init(value_, context_.get());
    }
    ~Mpoly() { fmpz_mpoly_clear(value_, context_.get()); }
    Mpoly(const Mpoly&) = delete;
    Mpoly& operator=(const Mpoly&) = delete;
    fmpz_mpoly_struct* get() { return value_; }
    const fmpz_mpoly_struct* get() const { return value_; }

  private:
    const MpolyContext& context_;
    fmpz_mpoly_t value_;
};

// The integer polynomials D rho and D sigma, D the common denominator of
// every coefficient, on one length k + 1.
struct IntegerPair {
    FmpzPoly rho;
    FmpzPoly sigma;
    slong length = 0;
};

void to_integers(std::span<const Rational> rho, std::span<const Rational> sigma,
                 IntegerPair& pair) {
    FmpqPoly rational_rho;
    FmpqPoly rational_sigma;
    to_fmpq_poly(rational_rho.get(), rho);
    to_fmpq_poly(rational_sigma.get(), sigma);
    Fmpz common;
    fmpz_lcm(common.get(), fmpq_poly_denref(rational_rho.get()),
             fmpq_poly_denref(rational_sigma.get()));
    fmpq_poly_scalar_mul_fmpz(rational_rho.get(), rational_rho.get(), common.get());
    fmpq_poly_scalar_mul_fmpz(rational_sigma.get(), rational_sigma.get(), common.get());
    fmpq_poly_get_numerator(pair.rho.get(), rational_rho.get());
    fmpq_poly_get_numerator(pair.sigma.get(), rational_sigma.get());
    pair.length = static_cast<slong>(std::max(rho.size(), sigma.size()));
}

// P = rho(zeta) + x sigma(zeta).
void family(const IntegerPair& pair, const MpolyContext& context, Mpoly& result) {
    fmpz_mpoly_zero(result.get(), context.get());
    ulong exponents[2];
    Fmpz coefficient;
    for (slong j = 0; j < pair.length; ++j) {
        // Either polynomial may be shorter than the step: its trailing
        // zeros are not stored.
        exponents[ZETA] = static_cast<ulong>(j);
        exponents[PARAMETER] = 0;
        fmpz_poly_get_coeff_fmpz(coefficient.get(), pair.rho.get(), j);
        fmpz_mpoly_set_coeff_fmpz_ui(result.get(), coefficient.get(), exponents, context.get());
        exponents[PARAMETER] = 1;
        fmpz_poly_get_coeff_fmpz(coefficient.get(), pair.sigma.get(), j);
        fmpz_mpoly_set_coeff_fmpz_ui(result.get(), coefficient.get(), exponents, context.get());
    }
}

// zeta^d A(1/zeta, x), d the degree of A in zeta.
void reversed(const Mpoly& a, const MpolyContext& context, Mpoly& result) {
    const slong degree = fmpz_mpoly_degree_si(a.get(), ZETA, context.get());
    fmpz_mpoly_zero(result.get(), context.get());
    ulong exponents[2];
    Fmpz coefficient;
    for (slong t = 0; t < fmpz_mpoly_length(a.get(), context.get()); ++t) {
        fmpz_mpoly_get_term_exp_ui(exponents, a.get(), t, context.get());
        fmpz_mpoly_get_term_coeff_fmpz(coefficient.get(), a.get(), t, context.get());
        exponents[ZETA] = static_cast<ulong>(degree) - exponents[ZETA];
        fmpz_mpoly_push_term_fmpz_ui(result.get(), coefficient.get(), exponents, context.get());
    }
    fmpz_mpoly_sort_terms(result.get(), context.get());
    fmpz_mpoly_combine_like_terms(result.get(), context.get());
}

// A polynomial in x alone, as a univariate one; false if it isn't one.
bool in_parameter(const Mpoly& a, const MpolyContext& context, fmpz_poly_struct* result) {
    return fmpz_mpoly_get_fmpz_poly(result, a.get(), PARAMETER, context.get()) != 0;
}

// --- Real roots of univariate integer polynomials -----------------------------

// A real algebraic number: the only root of the squarefree polynomial
// `part` in the open interval (lower, upper), whose ends are not roots; or
// the rational root lower = upper.
struct RealRoot {
    std::size_t part = 0;
    Rational lower;
    Rational upper;
    bool exact() const { return lower == upper; }
};

int compare(const Rational& a, const Rational& b) {
    return fmpq_cmp(a.get(), b.get());
}

int sign_at(const fmpz_poly_struct* f, const Rational& x) {
    Rational value;
    fmpz_poly_evaluate_fmpq(value.get(), f, x.get());
    return fmpq_sgn(value.get());
}

// The sign of a squarefree f just beside x, to its right or its left: f's
// own sign, or at a root of f (a simple one) that of f' on the right and
// its opposite on the left. An interval's end can be a rational root of f
// found on the way, while its one root inside is another.
int sign_beside(const fmpz_poly_struct* f, const Rational& x, bool right) {
    const int sign = sign_at(f, x);
    if (sign != 0) {
        return sign;
    }
    FmpzPoly slope;
    fmpz_poly_derivative(slope.get(), f);
    return right ? sign_at(slope.get(), x) : -sign_at(slope.get(), x);
}

// c / 2^k.
Rational dyadic(const fmpz_t c, ulong k) {
    Rational value;
    fmpz_set(fmpq_numref(value.get()), c);
    fmpz_one(fmpq_denref(value.get()));
    fmpz_mul_2exp(fmpq_denref(value.get()), fmpq_denref(value.get()), k);
    fmpq_canonicalise(value.get());
    return value;
}

// The sign variations of the coefficients: by Descartes' rule, an upper
// bound of the positive roots, exact when it is 0 or 1.
long sign_changes(const fmpz_poly_struct* f) {
    long changes = 0;
    int last = 0;
    for (slong j = 0; j < fmpz_poly_length(f); ++j) {
        const int sign = fmpz_sgn(f->coeffs + j);
        if (sign != 0) {
            changes += last != 0 && sign != last ? 1 : 0;
            last = sign;
        }
    }
    return changes;
}

// The roots in (0, 1) of a squarefree p with p(0) != 0 and p(1) != 0, by
// Descartes' rule and bisection (the Collins-Akritas method): q(x) stands
// for p on (c/2^k, (c+1)/2^k), and the sign variations of
// (x + 1)^n q(1/(x + 1)) bound its roots there. Each root comes as its
// isolating interval, or exactly when it is a midpoint met on the way.
void roots_in_unit_interval(const fmpz_poly_struct* p, std::size_t part,
                            std::vector<RealRoot>& out) {
    struct Node {
        FmpzPoly q;
        Fmpz c;
        ulong k = 0;
    };
    std::deque<Node> stack;
    fmpz_poly_set(stack.emplace_back().q.get(), p);
    FmpzPoly test;
    while (!stack.empty()) {
        Node& node = stack.back();
        const slong length = fmpz_poly_length(node.q.get());
        Fmpz one;
        fmpz_one(one.get());
        fmpz_poly_reverse(test.get(), node.q.get(), length);
        fmpz_poly_taylor_shift(test.get(), test.get(), one.get());
        const long variations = sign_changes(test.get());
        if (variations == 0) {
            stack.pop_back();
            continue;
        }
        if (variations == 1) {
            RealRoot root;
            root.part = part;
            Fmpz next;
            fmpz_add_ui(next.get(), node.c.get(), 1);
            root.lower = dyadic(node.c.get(), node.k);
            root.upper = dyadic(next.get(), node.k);
            out.push_back(std::move(root));
            stack.pop_back();
            continue;
        }
        // Halves: left(x) = 2^n q(x / 2), right(x) = left(x + 1).
        Node left;
        Node right;
        const slong n = length - 1;
        fmpz_poly_set(left.q.get(), node.q.get());
        for (slong i = 0; i < length; ++i) {
            fmpz_mul_2exp(left.q.get()->coeffs + i, left.q.get()->coeffs + i,
                          static_cast<ulong>(n - i));
        }
        fmpz_poly_taylor_shift(right.q.get(), left.q.get(), one.get());
        fmpz_mul_2exp(left.c.get(), node.c.get(), 1);
        fmpz_add_ui(right.c.get(), left.c.get(), 1);
        left.k = right.k = node.k + 1;
        if (fmpz_is_zero(right.q.get()->coeffs)) {
            RealRoot root;
            root.part = part;
            root.lower = dyadic(right.c.get(), right.k);
            root.upper = root.lower;
            out.push_back(std::move(root));
            fmpz_poly_shift_right(right.q.get(), right.q.get(), 1);
        }
        stack.pop_back();
        Node& pushed_right = stack.emplace_back();
        fmpz_poly_swap(pushed_right.q.get(), right.q.get());
        fmpz_swap(pushed_right.c.get(), right.c.get());
        pushed_right.k = right.k;
        Node& pushed_left = stack.emplace_back();
        fmpz_poly_swap(pushed_left.q.get(), left.q.get());
        fmpz_swap(pushed_left.c.get(), left.c.get());
        pushed_left.k = left.k;
    }
}

// Halves the isolating interval of a root, keeping the half where the
// polynomial changes sign; a midpoint that is the root makes it exact.
void halve(const fmpz_poly_struct* f, RealRoot& root) {
    if (root.exact()) {
        return;
    }
    Rational middle;
    fmpq_add(middle.get(), root.lower.get(), root.upper.get());
    fmpq_div_2exp(middle.get(), middle.get(), 1);
    const int at_middle = sign_at(f, middle);
    if (at_middle == 0) {
        root.lower = middle;
        root.upper = middle;
    } else if (at_middle == sign_beside(f, root.lower, true)) {
        root.lower = std::move(middle);
    } else {
        root.upper = std::move(middle);
    }
}

// The positive roots of a squarefree f with f(0) != 0: those of f(2^b t)
// in (0, 1), with 2^b above every root's modulus (Cauchy's bound).
void positive_roots_of(const fmpz_poly_struct* f, std::size_t part, std::vector<RealRoot>& out) {
    if (sign_changes(f) == 0) {
        return;
    }
    FmpzPoly scaled;
    fmpz_poly_set(scaled.get(), f); // f(0) != 0
    const slong n = fmpz_poly_degree(scaled.get());
    if (n < 1) {
        return;
    }
    ulong widest = 0;
    for (slong i = 0; i < n; ++i) {
        widest = std::max<ulong>(widest, fmpz_bits(scaled.get()->coeffs + i));
    }
    const ulong lead = fmpz_bits(scaled.get()->coeffs + n);
    const ulong b = widest + 2 > lead ? widest + 2 - lead : 1;
    for (slong i = 1; i <= n; ++i) {
        fmpz_mul_2exp(scaled.get()->coeffs + i, scaled.get()->coeffs + i,
                      b * static_cast<ulong>(i));
    }
    const std::size_t first = out.size();
    roots_in_unit_interval(scaled.get(), part, out);
    Rational scale;
    fmpz_one(fmpq_numref(scale.get()));
    fmpz_mul_2exp(fmpq_numref(scale.get()), fmpq_numref(scale.get()), b);
    for (std::size_t i = first; i < out.size(); ++i) {
        fmpq_mul(out[i].lower.get(), out[i].lower.get(), scale.get());
        fmpq_mul(out[i].upper.get(), out[i].upper.get(), scale.get());
        // The first interval may start at 0: made to start above it.
        Rational zero;
        while (!out[i].exact() && compare(out[i].lower, zero) == 0) {
            halve(f, out[i]);
        }
    }
}

// Sorts roots of several coprime squarefree polynomials and makes their
// intervals apart, halving the wider of two that meet.
void sort_apart(std::span<const fmpz_poly_struct* const> parts, std::vector<RealRoot>& roots) {
    for (bool parted = false; !parted;) {
        std::sort(roots.begin(), roots.end(), [](const RealRoot& a, const RealRoot& b) {
            return compare(a.lower, b.lower) < 0;
        });
        parted = true;
        for (std::size_t i = 1; i < roots.size(); ++i) {
            if (compare(roots[i - 1].upper, roots[i].lower) < 0) {
                continue;
            }
            parted = false;
            Rational first;
            Rational second;
            fmpq_sub(first.get(), roots[i - 1].upper.get(), roots[i - 1].lower.get());
            fmpq_sub(second.get(), roots[i].upper.get(), roots[i].lower.get());
            RealRoot& wider = compare(first, second) >= 0 ? roots[i - 1] : roots[i];
            halve(parts[wider.part], wider);
        }
    }
}

// The value of a root to 6 significant digits: its interval is halved
// until both ends print alike.
double six_digits(const fmpz_poly_struct* f, RealRoot root) {
    char low[32];
    char high[32];
    for (int step = 0; step < 400 && !root.exact(); ++step) {
        std::snprintf(low, sizeof low, "%.6g", nearest_double(root.lower));
        std::snprintf(high, sizeof high, "%.6g", nearest_double(root.upper));
        if (std::string(low) == high) {
            break;
        }
        halve(f, root);
    }
    Rational middle;
    fmpq_add(middle.get(), root.lower.get(), root.upper.get());
    fmpq_div_2exp(middle.get(), middle.get(), 1);
    return nearest_double(middle);
}

// Whether g vanishes at the root: a common root of g and the root's
// polynomial f lies in its interval.
bool vanishes_at(const fmpz_poly_struct* f, const fmpz_poly_struct* g, const RealRoot& root) {
    if (fmpz_poly_is_zero(g)) {
        return true;
    }
    if (root.exact()) {
        return sign_at(g, root.lower) == 0;
    }
    FmpzPoly common;
    fmpz_poly_gcd(common.get(), f, g);
    if (fmpz_poly_degree(common.get()) < 1) {
        return false;
    }
    // common divides f, so it has at most f's one root in the interval,
    // and changes sign there exactly when it has it.
    return sign_beside(common.get(), root.lower, true) !=
           sign_beside(common.get(), root.upper, false);
}

// The irreducible factor of f whose root the root is.
void irreducible_at(const fmpz_poly_struct* f, const RealRoot& root, fmpz_poly_struct* result) {
    FmpzPolyFactor factors;
    fmpz_poly_factor(factors.get(), f);
    for (slong i = 0; i < factors.get()->num; ++i) {
        if (vanishes_at(f, factors.get()->p + i, root)) {
            fmpz_poly_set(result, factors.get()->p + i);
            return;
        }
    }
    fmpz_poly_set(result, f); // not reached: some factor vanishes there
}

// --- Polynomials over the number field Q[x]/(f) ------------------------------

// Coefficients in zeta, each a rational polynomial in x reduced mod f;
// the highest is non-zero (an empty list is 0).
using FieldPoly = std::deque<FmpqPoly>;

void trim(FieldPoly& a) {
    while (!a.empty() && fmpq_poly_is_zero(a.back().get())) {
        a.pop_back();
    }
}

void multiply_mod(fmpq_poly_struct* result, const fmpq_poly_struct* a, const fmpq_poly_struct* b,
                  const fmpq_poly_struct* f) {
    fmpq_poly_mul(result, a, b);
    fmpq_poly_rem(result, result, f);
}

// b made monic over the field; b non-zero.
void make_monic(FieldPoly& b, const fmpq_poly_struct* f) {
    FmpqPoly inverse;
    FmpqPoly g;
    FmpqPoly unused;
    fmpq_poly_xgcd(g.get(), inverse.get(), unused.get(), b.back().get(), f);
    for (FmpqPoly& c : b) {
        multiply_mod(c.get(), c.get(), inverse.get(), f);
    }
}

// a mod b over the field; b monic.
void field_remainder(FieldPoly& a, const FieldPoly& b, const fmpq_poly_struct* f) {
    FmpqPoly factor;
    FmpqPoly product;
    trim(a);
    while (a.size() >= b.size()) {
        fmpq_poly_set(factor.get(), a.back().get());
        const std::size_t shift = a.size() - b.size();
        for (std::size_t j = 0; j + 1 < b.size(); ++j) {
            multiply_mod(product.get(), factor.get(), b[j].get(), f);
            fmpq_poly_sub(a[j + shift].get(), a[j + shift].get(), product.get());
        }
        fmpq_poly_zero(a.back().get());
        trim(a);
    }
}

// gcd(a, b) over the field, left in a; b is used up. Each divisor is made
// monic first, which keeps the remainders' coefficients from growing fast.
void field_gcd(FieldPoly& a, FieldPoly& b, const fmpq_poly_struct* f) {
    trim(a);
    trim(b);
    while (!b.empty()) {
        make_monic(b, f);
        field_remainder(a, b, f);
        std::swap(a, b);
    }
}

// P(zeta, b), its derivative in zeta and its reverse, over Q[x]/(f).
struct FieldFamily {
    FieldPoly p;
    FieldPoly derivative;
    FieldPoly reverse;
};

void at_breakpoint(const IntegerPair& pair, const fmpz_poly_struct* f, FieldFamily& result) {
    FmpqPoly modulus;
    fmpq_poly_set_fmpz_poly(modulus.get(), f);
    result = FieldFamily{};
    for (slong j = 0; j < pair.length; ++j) {
        FmpqPoly& c = result.p.emplace_back();
        Fmpz value;
        fmpz_poly_get_coeff_fmpz(value.get(), pair.rho.get(), j);
        fmpq_poly_set_coeff_fmpz(c.get(), 0, value.get());
        fmpz_poly_get_coeff_fmpz(value.get(), pair.sigma.get(), j);
        fmpq_poly_set_coeff_fmpz(c.get(), 1, value.get());
        fmpq_poly_rem(c.get(), c.get(), modulus.get());
    }
    trim(result.p);
    for (std::size_t j = 1; j < result.p.size(); ++j) {
        FmpqPoly& c = result.derivative.emplace_back();
        fmpq_poly_scalar_mul_si(c.get(), result.p[j].get(), static_cast<slong>(j));
    }
    for (std::size_t j = result.p.size(); j-- > 0;) {
        fmpq_poly_set(result.reverse.emplace_back().get(), result.p[j].get());
    }
}

FieldPoly copy_of(const FieldPoly& a) {
    FieldPoly result;
    for (const FmpqPoly& c : a) {
        fmpq_poly_set(result.emplace_back().get(), c.get());
    }
    return result;
}

// --- The scan over x > 0 ---------------------------------------------------------

struct Configuration {
    bool decided = false;
    bool closed = false; // every root in the closed disk, those on the circle simple
    bool inside = false; // every root inside the circle
};

// The roots of P(., x) at a rational x, certified.
Configuration at_rational(std::span<const Rational> rho, std::span<const Rational> sigma,
                          const Rational& x) {
    const std::size_t length = std::max(rho.size(), sigma.size());
    std::vector<Rational> p(length);
    for (std::size_t j = 0; j < length; ++j) {
        if (j < sigma.size()) {
            fmpq_mul(p[j].get(), sigma[j].get(), x.get());
        }
        if (j < rho.size()) {
            fmpq_add(p[j].get(), p[j].get(), rho[j].get());
        }
    }
    const RootCondition condition = root_condition(static_cast<int>(length) - 1, 1, p);
    Configuration result;
    if (condition.status != RootStatus::DECIDED) {
        return result;
    }
    result.decided = true;
    result.closed = condition.zero_stable;
    result.inside = std::all_of(condition.roots.begin(), condition.roots.end(),
                                [](const Root& r) { return r.location == Location::INSIDE; });
    return result;
}

struct Scan {
    IntegerPair pair;
    // Coprime squarefree polynomials in x whose positive roots are the
    // breakpoints, in ascending order.
    std::deque<FmpzPoly> parts;
    std::vector<RealRoot> breakpoints;
    // The principal roots (those at 1 for x = 0) belong to G.
    bool principal_self_reciprocal = false;
    // What tells most breakpoints apart without a gcd over a number field:
    // disc(Q), Res(h, h*) and disc(G), each 1 when its polynomial in zeta
    // has too low a degree to have multiple or crossing roots, and whether
    // P has a repeated factor or G is more than a constant.
    FmpzPoly discriminant;
    FmpzPoly crossing;
    FmpzPoly self_reciprocal_discriminant; // disc(G), when G is not constant
    bool repeated_factor = false;
    bool self_reciprocal_part = false;
};

// The linear polynomials in x among the breakpoints' sources, kept apart
// so that their roots are found exactly: the leading coefficient
// A[d] + x B[d], and P(1, x), P(-1, x) (a real root crossing the circle).
void add_linear_parts(slong degree, Scan& scan) {
    FmpzPoly linear;
    Fmpz value;
    for (int which = 0; which < 3; ++which) {
        fmpz_poly_zero(linear.get());
        if (which == 0) {
            fmpz_poly_get_coeff_fmpz(value.get(), scan.pair.rho.get(), degree);
            fmpz_poly_set_coeff_fmpz(linear.get(), 0, value.get());
            fmpz_poly_get_coeff_fmpz(value.get(), scan.pair.sigma.get(), degree);
            fmpz_poly_set_coeff_fmpz(linear.get(), 1, value.get());
        } else {
            Fmpz point;
            fmpz_set_si(point.get(), which == 1 ? 1 : -1);
            fmpz_poly_evaluate_fmpz(value.get(), scan.pair.rho.get(), point.get());
            fmpz_poly_set_coeff_fmpz(linear.get(), 0, value.get());
            fmpz_poly_evaluate_fmpz(value.get(), scan.pair.sigma.get(), point.get());
            fmpz_poly_set_coeff_fmpz(linear.get(), 1, value.get());
        }
        if (fmpz_poly_degree(linear.get()) != 1 || fmpz_is_zero(linear.get()->coeffs)) {
            continue; // no root, or the root x = 0
        }
        fmpz_poly_primitive_part(linear.get(), linear.get());
        if (fmpz_sgn(linear.get()->coeffs + 1) < 0) {
            fmpz_poly_neg(linear.get(), linear.get());
        }
        const bool known = std::any_of(scan.parts.begin(), scan.parts.end(), [&](FmpzPoly& q) {
            return fmpz_poly_equal(q.get(), linear.get()) != 0;
        });
        if (!known) {
            fmpz_poly_set(scan.parts.emplace_back().get(), linear.get());
        }
    }
}

// The discriminant of A in zeta, a polynomial in x, into `result`; 1 when A
// has degree below 2 in zeta (no two roots to meet).
bool discriminant_in_zeta(const Mpoly& a, const MpolyContext& context, fmpz_poly_struct* result) {
    if (fmpz_mpoly_degree_si(a.get(), ZETA, context.get()) < 2) {
        fmpz_poly_one(result);
        return true;
    }
    Mpoly eliminated(context);
    return fmpz_mpoly_discriminant(eliminated.get(), a.get(), ZETA, context.get()) &&
           in_parameter(eliminated, context, result);
}

// The breakpoints from the parts: the linear ones' roots, and the positive
// roots of the coprime squarefree parts of `rest` without the linear parts
// and the factor x, all ascending and apart.
void isolate_breakpoints(fmpz_poly_struct* rest, Scan& scan) {
    FmpzPoly quotient;
    for (FmpzPoly& known : scan.parts) {
        while (fmpz_poly_divides(quotient.get(), rest, known.get())) {
            fmpz_poly_swap(rest, quotient.get());
        }
    }
    // x = 0 is no breakpoint: the factor x goes, so that no part has the
    // root 0 (halving an interval that starts at 0 relies on it).
    while (fmpz_poly_length(rest) > 1 && fmpz_is_zero(rest->coeffs)) {
        fmpz_poly_shift_right(rest, rest, 1);
    }
    FmpzPolyFactor pieces;
    fmpz_poly_factor_squarefree(pieces.get(), rest);
    for (slong i = 0; i < pieces.get()->num; ++i) {
        fmpz_poly_set(scan.parts.emplace_back().get(), pieces.get()->p + i);
    }
    std::vector<const fmpz_poly_struct*> polys;
    for (std::size_t i = 0; i < scan.parts.size(); ++i) {
        const fmpz_poly_struct* f = scan.parts[i].get();
        polys.push_back(f);
        if (fmpz_poly_degree(f) != 1) {
            positive_roots_of(f, i, scan.breakpoints);
            continue;
        }
        RealRoot root;
        root.part = i;
        fmpq_set_fmpz_frac(root.lower.get(), f->coeffs, f->coeffs + 1);
        fmpq_neg(root.lower.get(), root.lower.get());
        root.upper = root.lower;
        if (fmpq_sgn(root.lower.get()) > 0) {
            scan.breakpoints.push_back(std::move(root));
        }
    }
    sort_apart(polys, scan.breakpoints);
}

// Whether (zeta - 1)^2 divides G(zeta, 0): the principal roots are G's.
bool principal_roots_in(const Mpoly& g, const MpolyContext& context) {
    Mpoly at_zero(context);
    Fmpz zero;
    FmpzPoly g0;
    fmpz_mpoly_evaluate_one_fmpz(at_zero.get(), g.get(), PARAMETER, zero.get(), context.get());
    if (!fmpz_mpoly_get_fmpz_poly(g0.get(), at_zero.get(), ZETA, context.get()) ||
        fmpz_poly_degree(g0.get()) < 2) {
        return false;
    }
    Fmpz unit;
    fmpz_one(unit.get());
    Fmpz value;
    fmpz_poly_evaluate_fmpz(value.get(), g0.get(), unit.get());
    FmpzPoly slope;
    fmpz_poly_derivative(slope.get(), g0.get());
    Fmpz value_slope;
    fmpz_poly_evaluate_fmpz(value_slope.get(), slope.get(), unit.get());
    return fmpz_is_zero(value.get()) && fmpz_is_zero(value_slope.get());
}

// The breakpoints of P for x > 0, and what decides them.
bool find_breakpoints(std::span<const Rational> rho, std::span<const Rational> sigma, Scan& scan) {
    to_integers(rho, sigma, scan.pair);
    MpolyContext context;
    Mpoly p(context);
    family(scan.pair, context, p);

    // Q, the squarefree part of P in zeta; G = gcd(Q, Q*); h = Q / G.
    Mpoly derivative(context);
    fmpz_mpoly_derivative(derivative.get(), p.get(), ZETA, context.get());
    Mpoly repeated(context);
    Mpoly squarefree(context);
    if (!fmpz_mpoly_gcd(repeated.get(), p.get(), derivative.get(), context.get()) ||
        !fmpz_mpoly_divides(squarefree.get(), p.get(), repeated.get(), context.get())) {
        return false;
    }
    Mpoly reverse(context);
    reversed(squarefree, context, reverse);
    Mpoly self_reciprocal(context);
    Mpoly rest_of_q(context);
    if (!fmpz_mpoly_gcd(self_reciprocal.get(), squarefree.get(), reverse.get(), context.get()) ||
        !fmpz_mpoly_divides(rest_of_q.get(), squarefree.get(), self_reciprocal.get(),
                            context.get())) {
        return false;
    }
    scan.repeated_factor = fmpz_mpoly_degree_si(repeated.get(), ZETA, context.get()) > 0;
    scan.self_reciprocal_part =
        fmpz_mpoly_degree_si(self_reciprocal.get(), ZETA, context.get()) > 0;
    scan.principal_self_reciprocal = principal_roots_in(self_reciprocal, context);

    // disc(Q), Res(h, h*) (1 for a constant h) and disc(G).
    if (!discriminant_in_zeta(squarefree, context, scan.discriminant.get()) ||
        !discriminant_in_zeta(self_reciprocal, context, scan.self_reciprocal_discriminant.get())) {
        return false;
    }
    fmpz_poly_one(scan.crossing.get());
    if (fmpz_mpoly_degree_si(rest_of_q.get(), ZETA, context.get()) >= 1) {
        Mpoly rest_reverse(context);
        reversed(rest_of_q, context, rest_reverse);
        Mpoly eliminated(context);
        if (!fmpz_mpoly_resultant(eliminated.get(), rest_of_q.get(), rest_reverse.get(), ZETA,
                                  context.get()) ||
            !in_parameter(eliminated, context, scan.crossing.get())) {
            return false;
        }
    }

    add_linear_parts(fmpz_mpoly_degree_si(p.get(), ZETA, context.get()), scan);
    FmpzPoly rest;
    fmpz_poly_mul(rest.get(), scan.discriminant.get(), scan.crossing.get());
    if (fmpz_poly_is_zero(rest.get())) {
        return false; // not expected: both are non-zero by construction
    }
    isolate_breakpoints(rest.get(), scan);
    return true;
}

enum class Property { CLOSED, INSIDE };

bool holds(const Configuration& configuration, Property property) {
    return property == Property::CLOSED ? configuration.closed : configuration.inside;
}

// Whether the property holds at breakpoint i, reached from a gap where it
// holds (so every root is in the closed disk there).
bool holds_at_breakpoint(const Scan& scan, std::span<const Rational> rho,
                         std::span<const Rational> sigma, std::size_t i, Property property,
                         bool& decided) {
    const RealRoot& point = scan.breakpoints[i];
    const fmpz_poly_struct* f = scan.parts[point.part].get();
    if (point.exact()) {
        const Configuration configuration = at_rational(rho, sigma, point.lower);
        decided = decided && configuration.decided;
        return holds(configuration, property);
    }
    // Where P has no repeated factor and G is constant, a root on the
    // circle at b is a common root of h and h*, so f divides Res(h, h*) (a
    // reciprocal pair off the circle can't occur with every root in the
    // closed disk); and with every root simple at b (f does not divide
    // disc(Q)) none is a multiple one on the circle.
    if (!scan.repeated_factor) {
        const bool h_on_circle = vanishes_at(f, scan.crossing.get(), point);
        if (property == Property::INSIDE && !scan.self_reciprocal_part) {
            return !h_on_circle;
        }
        if (property == Property::CLOSED) {
            // G's roots are all on the circle at b (pairs off it would put
            // one outside): a multiple one is a multiple root on the circle.
            if (scan.self_reciprocal_part &&
                vanishes_at(f, scan.self_reciprocal_discriminant.get(), point)) {
                return false;
            }
            // Otherwise G's roots are simple, and none is h's unless h has
            // a root on the circle; nor is there a multiple root at all
            // unless f divides disc(Q).
            if (!h_on_circle || !vanishes_at(f, scan.discriminant.get(), point)) {
                return true;
            }
        }
    }
    // The leading coefficient is linear, and its root is exact: at an
    // irrational b the degree is the same as in the gaps. Over the field of
    // b's irreducible factor:
    FmpzPoly irreducible;
    irreducible_at(f, point, irreducible.get());
    FieldFamily at_point;
    at_breakpoint(scan.pair, irreducible.get(), at_point);
    FmpqPoly modulus;
    fmpq_poly_set_fmpz_poly(modulus.get(), irreducible.get());
    // CLOSED fails on a multiple root on the circle, a common root of p, p'
    // and p*; INSIDE on any root on the circle, a common root of p and p*.
    FieldPoly common = copy_of(at_point.p);
    if (property == Property::CLOSED) {
        FieldPoly derivative = copy_of(at_point.derivative);
        field_gcd(common, derivative, modulus.get());
    }
    if (common.size() > 1) {
        FieldPoly other = copy_of(at_point.reverse);
        field_gcd(common, other, modulus.get());
    }
    return common.size() <= 1;
}

Rational simplest_between(const Rational& low, const Rational& high) {
    Rational result;
    fmpq_simplest_between(result.get(), low.get(), high.get());
    return result;
}

Rational weighted(const Rational& a, long wa, const Rational& b, long wb) {
    Rational result;
    Rational part;
    fmpq_mul_si(result.get(), a.get(), wa);
    fmpq_mul_si(part.get(), b.get(), wb);
    fmpq_add(result.get(), result.get(), part.get());
    Fmpz total;
    fmpz_set_si(total.get(), wa + wb);
    fmpq_div_fmpz(result.get(), result.get(), total.get());
    return result;
}

// A rational x strictly inside gap g: (0, b_0), (b_0, b_1), ..., (b_last, oo).
Rational sample_in_gap(const Scan& scan, std::size_t g) {
    const auto& points = scan.breakpoints;
    Rational zero;
    if (points.empty()) {
        return Rational(1, 1);
    }
    if (g == 0) {
        return simplest_between(weighted(zero, 3, points[0].lower, 1),
                                weighted(zero, 1, points[0].lower, 3));
    }
    const Rational& low = points[g - 1].upper;
    if (g == points.size()) {
        Rational start;
        fmpq_add_si(start.get(), low.get(), 1);
        Rational end;
        fmpq_mul_si(end.get(), start.get(), 2);
        return simplest_between(start, end);
    }
    const Rational& high = points[g].lower;
    return simplest_between(weighted(low, 3, high, 1), weighted(low, 1, high, 3));
}

IntervalEnd end_at(const Scan& scan, std::size_t i) {
    const RealRoot& point = scan.breakpoints[i];
    const fmpz_poly_struct* f = scan.parts[point.part].get();
    IntervalEnd end;
    end.kind = IntervalEnd::Kind::FINITE;
    end.value = six_digits(f, point);
    if (point.exact()) {
        end.exact = point.lower.text();
        return end;
    }
    // A rational end inside a part of higher degree: its irreducible
    // factor is linear.
    FmpzPoly irreducible;
    irreducible_at(f, point, irreducible.get());
    if (fmpz_poly_degree(irreducible.get()) == 1) {
        Rational root;
        fmpq_set_fmpz_frac(root.get(), irreducible.get()->coeffs, irreducible.get()->coeffs + 1);
        fmpq_neg(root.get(), root.get());
        end.exact = root.text();
    }
    return end;
}

// The largest (0, end) on which the property holds at every x.
IntervalEnd property_interval(const Scan& scan, std::span<const Rational> rho,
                              std::span<const Rational> sigma, Property property,
                              std::vector<Configuration>& gaps, bool& decided) {
    const std::size_t n = scan.breakpoints.size();
    const auto gap = [&](std::size_t g) -> const Configuration& {
        if (!gaps[g].decided) {
            gaps[g] = at_rational(rho, sigma, sample_in_gap(scan, g));
            decided = decided && gaps[g].decided;
        }
        return gaps[g];
    };
    if (!holds(gap(0), property)) {
        return IntervalEnd{};
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (!holds(gap(i + 1), property) ||
            !holds_at_breakpoint(scan, rho, sigma, i, property, decided)) {
            return end_at(scan, i);
        }
    }
    IntervalEnd end;
    end.kind = IntervalEnd::Kind::INFINITE;
    return end;
}

bool within_limits(std::span<const Rational> rho, std::span<const Rational> sigma) {
    const long k = static_cast<long>(std::max(rho.size(), sigma.size())) - 1;
    if (k > MAX_REGION_STEP) {
        return false;
    }
    std::vector<Rational> both(rho.begin(), rho.end());
    both.insert(both.end(), sigma.begin(), sigma.end());
    const long limit = MAX_REGION_WORK / std::max(k, 1L);
    return cleared_size(both, limit) <= limit;
}

bool is_zero_polynomial(std::span<const Rational> values) {
    return std::all_of(values.begin(), values.end(),
                       [](const Rational& value) { return value.is_zero(); });
}

// --- The A(alpha) angle ----------------------------------------------------------

using Complex = std::complex<double>;

Complex evaluate(std::span<const double> coefficients, Complex z) {
    Complex value = 0.0;
    for (std::size_t j = coefficients.size(); j-- > 0;) {
        value = value * z + coefficients[j];
    }
    return value;
}

// |arg(-z(theta))| in degrees where Re z(theta) < 0, from
// -rho conj(sigma), which has z's argument and no pole.
double wedge_angle(std::span<const double> rho, std::span<const double> sigma, double theta) {
    const Complex zeta = std::polar(1.0, theta);
    const Complex u = -evaluate(rho, zeta) * std::conj(evaluate(sigma, zeta));
    return std::atan2(std::abs(u.imag()), u.real()) * 180.0 / std::numbers::pi;
}

// The least angle over theta in (low, high), where the locus is in the
// left half-plane: a scan of the interval, then a golden-section search
// around each local least of the scan.
double least_angle(std::span<const double> rho, std::span<const double> sigma, double low,
                   double high) {
    constexpr int SAMPLES = 256;
    std::vector<double> values(SAMPLES + 1);
    const double width = (high - low) / SAMPLES;
    for (int i = 0; i <= SAMPLES; ++i) {
        // The ends themselves are on the imaginary axis or at a pole.
        const double theta = i == 0         ? low + width * 1e-6
                             : i == SAMPLES ? high - width * 1e-6
                                            : low + width * i;
        values[static_cast<std::size_t>(i)] = wedge_angle(rho, sigma, theta);
    }
    double best = 90.0;
    for (int i = 0; i <= SAMPLES; ++i) {
        const double here = values[static_cast<std::size_t>(i)];
        const bool least = (i == 0 || here <= values[static_cast<std::size_t>(i - 1)]) &&
                           (i == SAMPLES || here <= values[static_cast<std::size_t>(i + 1)]);
        if (!least) {
            continue;
        }
        double a = std::max(low, low + width * (i - 1));
        double b = std::min(high, low + width * (i + 1));
        const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
        double c = b - ratio * (b - a);
        double d = a + ratio * (b - a);
        double fc = wedge_angle(rho, sigma, c);
        double fd = wedge_angle(rho, sigma, d);
        for (int step = 0; step < 80 && b - a > 1e-15; ++step) {
            if (fc <= fd) {
                b = d;
                d = c;
                fd = fc;
                c = b - ratio * (b - a);
                fc = wedge_angle(rho, sigma, c);
            } else {
                a = c;
                c = d;
                fc = fd;
                d = a + ratio * (b - a);
                fd = wedge_angle(rho, sigma, d);
            }
        }
        best = std::min({best, here, fc, fd});
    }
    return best;
}

// With w(theta) = rho(e^{i theta}) conj(sigma(e^{i theta})), which has the
// argument of z(theta): 2 Re w and 2 Im w / sin(theta) as polynomials in
// c = cos theta. With a the coefficients of rho(z) z^k sigma(1/z), so that
// w = sum a_j e^{i (j - k) theta}: Re w = a_k + sum (a_{k+l} + a_{k-l})
// cos(l theta) and Im w = sum (a_{k+l} - a_{k-l}) sin(l theta), with
// cos(l theta) = T_l(c) and sin(l theta) = sin(theta) U_{l-1}(c).
void locus_in_cosine(const IntegerPair& pair, fmpz_poly_struct* real, fmpz_poly_struct* imaginary) {
    const slong k = pair.length - 1;
    FmpzPoly sigma_reverse;
    fmpz_poly_reverse(sigma_reverse.get(), pair.sigma.get(), pair.length);
    FmpzPoly a;
    fmpz_poly_mul(a.get(), pair.rho.get(), sigma_reverse.get());
    fmpz_poly_zero(real);
    fmpz_poly_zero(imaginary);
    Fmpz up;
    Fmpz down;
    Fmpz coefficient;
    FmpzPoly chebyshev;
    for (slong l = 0; l <= k; ++l) {
        fmpz_poly_get_coeff_fmpz(up.get(), a.get(), k + l);
        fmpz_poly_get_coeff_fmpz(down.get(), a.get(), k - l);
        // 2 a_k for l = 0, 2 (a_{k+l} + a_{k-l}) after.
        fmpz_add(coefficient.get(), up.get(), down.get());
        if (l > 0) {
            fmpz_mul_si(coefficient.get(), coefficient.get(), 2);
        }
        fmpz_poly_chebyshev_t(chebyshev.get(), static_cast<ulong>(l));
        fmpz_poly_scalar_mul_fmpz(chebyshev.get(), chebyshev.get(), coefficient.get());
        fmpz_poly_add(real, real, chebyshev.get());
        if (l > 0) {
            fmpz_sub(coefficient.get(), up.get(), down.get());
            fmpz_mul_si(coefficient.get(), coefficient.get(), 2);
            fmpz_poly_chebyshev_u(chebyshev.get(), static_cast<ulong>(l - 1));
            fmpz_poly_scalar_mul_fmpz(chebyshev.get(), chebyshev.get(), coefficient.get());
            fmpz_poly_add(imaginary, imaginary, chebyshev.get());
        }
    }
}

// The roots in (-1, 1) of the squarefree parts of e (with `odd_only`, of
// those of odd multiplicity), ascending and apart, each interval strictly
// inside (-1, 1) and narrower than 2^-20; `parts` holds the parts without
// the roots +-1, which the roots refer to.
void roots_in_open_unit(const fmpz_poly_struct* e, bool odd_only, std::deque<FmpzPoly>& parts,
                        std::vector<RealRoot>& roots) {
    FmpzPolyFactor factors;
    fmpz_poly_factor_squarefree(factors.get(), e);
    const Rational minus_one(-1, 1);
    const Rational plus_one(1, 1);
    std::vector<const fmpz_poly_struct*> polys;
    FmpzPoly shifted;
    FmpzPoly quotient;
    FmpzPoly end_root;
    Fmpz minus;
    fmpz_set_si(minus.get(), -1);
    for (slong i = 0; i < factors.get()->num; ++i) {
        FmpzPoly& g = parts.emplace_back();
        polys.push_back(g.get()); // one per factor, so that the indices agree
        if (odd_only && factors.get()->exp[i] % 2 == 0) {
            continue;
        }
        fmpz_poly_set(g.get(), factors.get()->p + i);
        for (const int root : {1, -1}) {
            fmpz_poly_zero(end_root.get());
            fmpz_poly_set_coeff_si(end_root.get(), 0, -root);
            fmpz_poly_set_coeff_si(end_root.get(), 1, 1);
            while (fmpz_poly_degree(g.get()) >= 1 &&
                   fmpz_poly_divides(quotient.get(), g.get(), end_root.get())) {
                fmpz_poly_swap(g.get(), quotient.get());
            }
        }
        if (fmpz_poly_degree(g.get()) < 1) {
            continue;
        }
        // g(2t - 1): shifted by -1, then coefficient j times 2^j.
        fmpz_poly_taylor_shift(shifted.get(), g.get(), minus.get());
        for (slong j = 1; j < fmpz_poly_length(shifted.get()); ++j) {
            fmpz_mul_2exp(shifted.get()->coeffs + j, shifted.get()->coeffs + j,
                          static_cast<ulong>(j));
        }
        const std::size_t first = roots.size();
        roots_in_unit_interval(shifted.get(), static_cast<std::size_t>(i), roots);
        for (std::size_t r = first; r < roots.size(); ++r) {
            for (Rational* end : {&roots[r].lower, &roots[r].upper}) {
                fmpq_mul_2exp(end->get(), end->get(), 1);
                fmpq_sub(end->get(), end->get(), plus_one.get());
            }
        }
    }
    sort_apart(polys, roots);
    Rational width;
    const Rational narrow(1, 1UL << 20);
    for (RealRoot& root : roots) {
        while (compare(root.lower, minus_one) <= 0 || compare(root.upper, plus_one) >= 0) {
            halve(polys[root.part], root);
        }
        for (fmpq_sub(width.get(), root.upper.get(), root.lower.get()); compare(width, narrow) > 0;
             fmpq_sub(width.get(), root.upper.get(), root.lower.get())) {
            halve(polys[root.part], root);
        }
    }
}

// A rational point inside each piece of (-1, 1) between the roots.
std::vector<Rational> samples_between(const std::vector<RealRoot>& roots) {
    std::vector<Rational> ends{Rational(-1, 1)};
    for (const RealRoot& root : roots) {
        ends.push_back(root.lower);
        ends.push_back(root.upper);
    }
    ends.push_back(Rational(1, 1));
    std::vector<Rational> samples;
    for (std::size_t i = 0; i + 1 < ends.size(); i += 2) {
        samples.push_back(simplest_between(weighted(ends[i], 3, ends[i + 1], 1),
                                           weighted(ends[i], 1, ends[i + 1], 3)));
    }
    return samples;
}

// Whether the locus has a point in the open left half-plane with
// |arg(-z)| < atan(t): some c in [-1, 1] with Q(c) < 0 and
// (1 - c^2) V(c)^2 < t^2 Q(c)^2, Q = 2 Re w and V = 2 Im w / sin(theta).
// Decided exactly: the set is open in (-1, 1), so it holds a point between
// two roots of Q D, D = (1 - c^2) V^2 - t^2 Q^2, if it is not empty; at
// c = +-1 (theta = 0 or pi) the locus is on the real axis.
bool locus_inside_wedge(const fmpz_poly_struct* q, const fmpz_poly_struct* v, const Rational& t) {
    if (sign_at(q, Rational(1, 1)) < 0 || sign_at(q, Rational(-1, 1)) < 0) {
        return true;
    }
    // D times the square of t's denominator, in integers.
    FmpzPoly d;
    FmpzPoly term;
    fmpz_poly_sqr(d.get(), v);
    FmpzPoly one_minus_square;
    fmpz_poly_set_coeff_si(one_minus_square.get(), 0, 1);
    fmpz_poly_set_coeff_si(one_minus_square.get(), 2, -1);
    fmpz_poly_mul(d.get(), d.get(), one_minus_square.get());
    Fmpz square;
    fmpz_mul(square.get(), fmpq_denref(t.get()), fmpq_denref(t.get()));
    fmpz_poly_scalar_mul_fmpz(d.get(), d.get(), square.get());
    fmpz_poly_sqr(term.get(), q);
    fmpz_mul(square.get(), fmpq_numref(t.get()), fmpq_numref(t.get()));
    fmpz_poly_scalar_mul_fmpz(term.get(), term.get(), square.get());
    fmpz_poly_sub(d.get(), d.get(), term.get());
    if (fmpz_poly_is_zero(d.get())) {
        return false; // the locus lies on the rays themselves
    }
    FmpzPoly product;
    fmpz_poly_mul(product.get(), q, d.get());
    std::deque<FmpzPoly> parts;
    std::vector<RealRoot> roots;
    roots_in_open_unit(product.get(), false, parts, roots);
    for (const Rational& c : samples_between(roots)) {
        if (sign_at(q, c) < 0 && sign_at(d.get(), c) < 0) {
            return true;
        }
    }
    return false;
}

// The exact value of a double, as a rational.
Rational exactly(double value) {
    Arf exact;
    arf_set_d(exact.get(), value);
    Rational result;
    arf_get_fmpq(result.get(), exact.get());
    return result;
}

// The A(alpha) angle in degrees, from an estimate (the least angle found by
// sampling the locus) made certain: alpha lies between two angles where
// the exact test above says "no locus point inside" and "some", and these
// are made closer by bisection until both print alike with 2 decimals. An
// estimate too high (a dip of the locus the sampling missed) only costs
// more bisection.
double certified_angle(const fmpz_poly_struct* q, const fmpz_poly_struct* v, double estimate) {
    const auto inside = [&](double degrees) {
        return locus_inside_wedge(q, v, exactly(std::tan(degrees * std::numbers::pi / 180.0)));
    };
    if (inside(0.0)) {
        return 0.0; // a locus point on the negative real axis
    }
    constexpr double SLACK = 1e-6;
    constexpr double HIGHEST = 90.0 - 1e-9;
    double low = std::max(0.0, estimate - SLACK);
    double high = std::min(HIGHEST, estimate + SLACK);
    if (inside(low)) {
        high = low;
        low = 0.0;
    } else if (!inside(high)) {
        low = high;
        high = HIGHEST;
        if (!inside(high)) {
            return 90.0;
        }
    }
    const auto printed = [](double degrees) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", degrees);
        return std::string(text);
    };
    for (int step = 0; step < 80 && printed(low) != printed(high); ++step) {
        const double middle = low + (high - low) / 2;
        (inside(middle) ? high : low) = middle;
    }
    return low + (high - low) / 2;
}

// The intervals of c = cos theta in (-1, 1) where the polynomial e is
// negative, as pairs of doubles, each reaching over the narrow intervals of
// the sign changes beside it.
void negative_intervals(const fmpz_poly_struct* e, std::vector<std::pair<double, double>>& result) {
    result.clear();
    if (fmpz_poly_is_zero(e)) {
        return;
    }
    // The sign changes: roots of odd multiplicity strictly inside (-1, 1).
    std::deque<FmpzPoly> parts;
    std::vector<RealRoot> roots;
    roots_in_open_unit(e, true, parts, roots);
    const std::vector<Rational> samples = samples_between(roots);
    const Rational minus_one(-1, 1);
    const Rational plus_one(1, 1);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        // An even-multiplicity root at the sample would read 0: the sign
        // is that of the piece's other points, found nearer its upper end.
        Rational point = samples[i];
        const Rational& upper = i < roots.size() ? roots[i].lower : plus_one;
        for (int tries = 0; tries < 64 && sign_at(e, point) == 0; ++tries) {
            point = weighted(point, 1, upper, 1);
        }
        if (sign_at(e, point) < 0) {
            const Rational& outer_low = i == 0 ? minus_one : roots[i - 1].lower;
            const Rational& outer_high = i < roots.size() ? roots[i].upper : plus_one;
            result.emplace_back(nearest_double(outer_low), nearest_double(outer_high));
        }
    }
}

// --- Phase lag --------------------------------------------------------------------

// The phase lag from the series up to u^(terms - 1) (see phase_lag): the
// first odd n >= 3 below `terms` with e_n != 0; false if none.
bool phase_lag_terms(std::span<const Rational> rho, std::span<const Rational> sigma, slong terms,
                     Periodicity& out) {
    FmpqPoly rho_series;
    FmpqPoly sigma_series;
    Rational moment;
    Rational power;
    Fmpz factorial;
    for (slong n = 0; n <= terms + 1; ++n) {
        fmpz_fac_ui(factorial.get(), static_cast<ulong>(n));
        for (int pass = 0; pass < 2; ++pass) {
            const std::span<const Rational> values = pass == 0 ? rho : sigma;
            if (pass == 0 ? n < 2 : n >= terms) {
                continue;
            }
            fmpq_zero(moment.get());
            for (std::size_t j = 0; j < values.size(); ++j) {
                fmpz_set_ui(fmpq_numref(power.get()), j);
                fmpz_pow_ui(fmpq_numref(power.get()), fmpq_numref(power.get()),
                            static_cast<ulong>(n));
                fmpz_one(fmpq_denref(power.get()));
                fmpq_addmul(moment.get(), power.get(), values[j].get());
            }
            fmpq_div_fmpz(moment.get(), moment.get(), factorial.get());
            fmpq_poly_set_coeff_fmpq(pass == 0 ? rho_series.get() : sigma_series.get(),
                                     pass == 0 ? n - 2 : n, moment.get());
        }
    }
    FmpqPoly g;
    fmpq_poly_div_series(g.get(), rho_series.get(), sigma_series.get(), terms);
    FmpqPoly w;
    fmpq_poly_sqrt_series(w.get(), g.get(), terms);
    fmpq_poly_shift_left(w.get(), w.get(), 1);
    fmpq_poly_truncate(w.get(), terms);
    FmpqPoly reverted;
    fmpq_poly_revert_series(reverted.get(), w.get(), terms);
    Rational e;
    for (slong n = 3; n < terms; n += 2) {
        fmpq_poly_get_coeff_fmpq(e.get(), reverted.get(), n);
        if (!e.is_zero()) {
            if ((n - 1) / 2 % 2 == 1) {
                fmpq_neg(e.get(), e.get());
            }
            out.phase_lag_known = true;
            out.phase_lag_order = static_cast<int>(n - 1);
            out.phase_lag_constant = e;
            out.phase_lag_decimal = nearest_double(e);
            return true;
        }
    }
    return false;
}

// With zeta = e^u, u = i theta: rho(e^u) = sum a_n u^n / n!, a_n = sum j^n A[j],
// likewise sigma. H^2 = -rho / sigma = -u^2 g(u), g(0) = 1 for a consistent
// method; w = u sqrt(g(u)) = +-iH, and u = w^-1(iH) = sum e_n (iH)^n, so
// theta = sum e_n i^(n-1) H^n and Re theta - H = sum over odd n >= 3 of
// (-1)^((n-1)/2) e_n H^n. The series are taken short first: the order is
// about 2k at most for the methods in use, and the cost grows fast with
// the length.
void phase_lag(std::span<const Rational> rho, std::span<const Rational> sigma, Periodicity& out) {
    for (slong terms = 8;; terms *= 2) {
        const slong capped = std::min<slong>(terms, MAX_PHASE_LAG_ORDER + 2);
        if (phase_lag_terms(rho, sigma, capped, out) || capped == MAX_PHASE_LAG_ORDER + 2) {
            return;
        }
    }
}

// The sums a_0, a_1, a_2 of j^n A[j] and b_0 of B[j].
struct Moments {
    Rational a0;
    Rational a1;
    Rational a2;
    Rational b0;
};

Moments moments(std::span<const Rational> rho, std::span<const Rational> sigma) {
    Moments result;
    Rational term;
    for (std::size_t j = 0; j < rho.size(); ++j) {
        const long jj = static_cast<long>(j);
        fmpq_add(result.a0.get(), result.a0.get(), rho[j].get());
        fmpq_mul_si(term.get(), rho[j].get(), jj);
        fmpq_add(result.a1.get(), result.a1.get(), term.get());
        fmpq_mul_si(term.get(), rho[j].get(), jj * jj);
        fmpq_add(result.a2.get(), result.a2.get(), term.get());
    }
    for (const Rational& value : sigma) {
        fmpq_add(result.b0.get(), result.b0.get(), value.get());
    }
    return result;
}

} // namespace

// Left to us: the exact value is shown when it takes at most 15
// characters, the fractions of methods written as fractions (6/11,
// 28350/91463); the end of a method written with decimals is a fraction of
// some 20 to 40 digits that says nothing the decimals don't, and is left
// to the JSON.
std::string interval_end_text(const IntervalEnd& end) {
    constexpr std::size_t SHORT_FRACTION = 15;
    if (end.kind != IntervalEnd::Kind::FINITE) {
        return end.kind == IntervalEnd::Kind::INFINITE ? "inf" : "";
    }
    char text[40];
    std::snprintf(text, sizeof text, "%.6g", end.value);
    if (end.exact.empty() || end.exact == text || end.exact.size() > SHORT_FRACTION) {
        return text;
    }
    return end.exact + " = " + text;
}

AbsoluteStability absolute_stability(std::span<const Rational> rho,
                                     std::span<const Rational> sigma) {
    AbsoluteStability result;
    // sigma = 0 leaves pi = rho for every z: S is the whole plane or empty,
    // and the analyses below find which. rho = 0 is no recurrence at all.
    if (is_zero_polynomial(rho)) {
        return result;
    }
    result.status = RegionStatus::REFUSED;
    Scan scan;
    if (!within_limits(rho, sigma) || !find_breakpoints(rho, sigma, scan)) {
        return result;
    }
    bool decided = true;
    std::vector<Configuration> gaps(scan.breakpoints.size() + 1);
    result.real_interval = property_interval(scan, rho, sigma, Property::CLOSED, gaps, decided);
    if (!decided) {
        return result;
    }
    result.status = RegionStatus::DECIDED;
    if (result.real_interval.kind != IntervalEnd::Kind::INFINITE) {
        return result; // no wedge: it would hold the whole negative real axis
    }
    FmpzPoly real_part;
    FmpzPoly imaginary_part;
    locus_in_cosine(scan.pair, real_part.get(), imaginary_part.get());
    std::vector<std::pair<double, double>> negative;
    negative_intervals(real_part.get(), negative);
    result.a_stable = negative.empty();
    std::vector<double> rho_values;
    std::vector<double> sigma_values;
    for (const Rational& value : rho) {
        rho_values.push_back(nearest_double(value));
    }
    for (const Rational& value : sigma) {
        sigma_values.push_back(nearest_double(value));
    }
    double alpha = 90.0;
    for (const auto& [low, high] : negative) {
        // c = cos theta falls as theta rises.
        alpha =
            std::min(alpha, least_angle(rho_values, sigma_values, std::acos(high), std::acos(low)));
    }
    result.alpha_degrees =
        negative.empty() ? 90.0 : certified_angle(real_part.get(), imaginary_part.get(), alpha);
    return result;
}

Periodicity periodicity(std::span<const Rational> rho, std::span<const Rational> sigma) {
    Periodicity result;
    // The principal roots are the two that leave the double root 1 of rho
    // as H grows: rho(1) = rho'(1) = 0, rho''(1) != 0 and sigma(1) != 0.
    // A method written with rounded decimals may miss consistency
    // (rho''(1) = 2 sigma(1)) by a little and still have them; its intervals
    // are reported, its phase lag (of order 0) is not.
    const Moments sums = moments(rho, sigma);
    if (!sums.a0.is_zero() || !sums.a1.is_zero() || sums.a2.is_zero() || sums.b0.is_zero()) {
        return result;
    }
    result.status = RegionStatus::REFUSED;
    Scan scan;
    if (!within_limits(rho, sigma) || !find_breakpoints(rho, sigma, scan)) {
        return result;
    }
    bool decided = true;
    std::vector<Configuration> gaps(scan.breakpoints.size() + 1);
    if (scan.principal_self_reciprocal) {
        result.periodicity = property_interval(scan, rho, sigma, Property::CLOSED, gaps, decided);
    }
    result.absolute = property_interval(scan, rho, sigma, Property::INSIDE, gaps, decided);
    if (!decided) {
        return result;
    }
    result.status = RegionStatus::DECIDED;
    result.p_stable = result.periodicity.kind == IntervalEnd::Kind::INFINITE;
    Rational twice;
    fmpq_mul_si(twice.get(), sums.b0.get(), 2);
    result.phase_lag_consistent = twice == sums.a2;
    if (result.phase_lag_consistent) {
        phase_lag(rho, sigma, result);
    }
    return result;
}

} // namespace ordimet::analyse

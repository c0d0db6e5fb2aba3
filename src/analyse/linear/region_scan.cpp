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

#include "analyse/linear/region_scan.hpp"

#include "analyse/exact/coefficients.hpp"
#include "analyse/linear/number_field.hpp"
#include "analyse/roots/roots.hpp"

#include <algorithm>

namespace ordimet::analyse {

namespace {

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

} // namespace

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

bool holds(const Configuration& configuration, Property property) {
    return property == Property::CLOSED ? configuration.closed : configuration.inside;
}

namespace {

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
    // b's irreducible factor, CLOSED fails on a multiple root on the
    // circle, INSIDE on any root on the circle.
    FmpzPoly irreducible;
    irreducible_at(f, point, irreducible.get());
    return !root_on_circle_at(scan.pair, irreducible.get(), property == Property::CLOSED);
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

} // namespace

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

} // namespace ordimet::analyse

// The screening of a candidate: zero-stability, a shared factor, the
// region constraints and the objective's estimate, cheapest first.

#include "design/search/screen.hpp"

#include "analyse/exact/flint_handles.hpp"
#include "analyse/exact/numbers.hpp"
#include "analyse/linear/linear_stability.hpp"
#include "analyse/roots/roots.hpp"
#include "design/search/objective.hpp"
#include "design/search/witnesses.hpp"

#include <cmath>
#include <cstdlib>
#include <flint/fmpz_poly.h>
#include <limits>

namespace ordimet::design {
namespace {

using analyse::as_index;

// Beyond these a root counts as outside or inside the circle in the
// screening's doubles; between them the exact root condition decides.
constexpr double SURELY_INSIDE = 1.0 - 1e-6;
constexpr double SURELY_OUTSIDE = 1.0 + 1e-6;

// Divides the integer polynomial by z - 1 in place (it has the root 1);
// false when the remainder isn't 0.
bool divide_by_z_minus_1(std::vector<std::int64_t>& q) {
    std::int64_t carry = 0;
    for (std::size_t j = q.size(); j-- > 0;) {
        const std::int64_t coefficient = q[j];
        q[j] = carry;
        carry += coefficient;
    }
    // q[j] holds the sum of the coefficients above j, the quotient's
    // coefficient j; the top is 0 and the remainder is the whole sum.
    if (carry != 0) {
        return false;
    }
    q.pop_back();
    return true;
}

// The sign of the integer polynomial at a rational point.
int sign_at(std::span<const std::int64_t> q, const Rational& x) {
    analyse::FmpzPoly poly;
    for (std::size_t j = 0; j < q.size(); ++j) {
        fmpz_poly_set_coeff_si(poly.get(), static_cast<slong>(j), q[j]);
    }
    Rational value;
    fmpz_poly_evaluate_fmpq(value.get(), poly.get(), x.get());
    return fmpq_sgn(value.get());
}

// A real root of the integer polynomial at r in doubles, |r| clearly above
// 1: a change of sign across a short interval around r that stays outside
// [-1, 1] proves a real root of modulus above 1.
bool real_root_outside(std::span<const std::int64_t> q, double r) {
    const double half = std::min(1e-6 * std::abs(r), 0.5 * (std::abs(r) - 1.0));
    const int low = sign_at(q, analyse::exact_rational(r - half));
    const int high = sign_at(q, analyse::exact_rational(r + half));
    return low * high < 0;
}

} // namespace

bool better(const Score& a, const Score& b) {
    return a.primary > b.primary || (a.primary == b.primary && a.secondary > b.secondary);
}

Screener::Screener(const Space& space, const SearchRequest& request)
    : space_(space), request_(request), exact_(as_index(space.coefficients)) {}

void Screener::exact_from_integers(std::span<const std::int64_t> integers) {
    for (std::size_t j = 0; j < integers.size(); ++j) {
        fmpq_set_si(exact_[j].get(), integers[j], 1);
    }
}

// Zero-stability: rho = (z - 1)^m q exactly (the order conditions give
// the root 1 of multiplicity m at least); q(1) = 0 or |q(0)| above q's
// leading coefficient (the product of its roots beyond 1 in modulus)
// decide at once; else q's roots in doubles keep a candidate whose roots
// are all clearly inside, drop one with a real root clearly outside proved
// by a change of sign, and leave the rest to the exact root condition.
bool Screener::zero_stable(std::span<const std::int64_t> rho) {
    quotient_.assign(rho.begin(), rho.end());
    bool deflated = true;
    for (int t = 0; t < space_.m && deflated; ++t) {
        deflated = divide_by_z_minus_1(quotient_);
    }
    if (deflated) {
        std::int64_t at_one = 0;
        for (const std::int64_t c : quotient_) {
            at_one += c;
        }
        if (at_one == 0) {
            return false; // the root 1 has multiplicity above m
        }
        std::size_t low = 0;
        while (quotient_[low] == 0) {
            ++low; // zero roots are inside; quotient_'s top is not 0
        }
        const std::span<const std::int64_t> q = std::span(quotient_).subspan(low);
        if (q.size() <= 1) {
            return true;
        }
        if (std::llabs(q.front()) > std::llabs(q.back())) {
            return false;
        }
        if (q.size() == 2) {
            return true; // the one root -q0/q1, in the closed disk and not 1
        }
        rho_.assign(q.begin(), q.end());
        const double modulus = largest_modulus(rho_, roots_);
        if (modulus < SURELY_INSIDE) {
            return true;
        }
        for (const Complex z : roots_.roots) {
            if (std::abs(z) > SURELY_OUTSIDE && std::abs(z.imag()) <= 1e-9 * std::abs(z.real()) &&
                real_root_outside(q, z.real())) {
                return false;
            }
        }
    }
    const std::span<const Rational> exact_rho =
        std::span<const Rational>(exact_).first(as_index(space_.k) + 1);
    const analyse::RootCondition condition = analyse::root_condition(space_.k, space_.m, exact_rho);
    return condition.status != analyse::RootStatus::DECIDED || condition.zero_stable;
}

// The region constraints and the estimate of a region objective; false
// when a region constraint drops the candidate (exactly).
bool Screener::region_kept(Score& estimate) {
    const Objective objective = request_.objective;
    const Constraints& constraints = request_.constraints;
    const std::span<const Rational> rho = std::span<const Rational>(exact_).first(rho_.size());
    const std::span<const Rational> sigma = std::span<const Rational>(exact_).subspan(rho_.size());
    if (space_.m == 1 && (constraints.a_stable || objective == Objective::REAL_INTERVAL ||
                          objective == Objective::ALPHA)) {
        const LocusEstimate locus = estimate_locus(rho_, sigma_, constraints.a_stable, roots_);
        estimate.primary = objective == Objective::ALPHA ? locus.alpha : locus.real_end;
        if (constraints.a_stable && !locus.a_stable) {
            for (const Complex z : locus.suspects) {
                if (z.imag() == 0.0 ? certainly_outside_at(rho, sigma, -z.real())
                                    : certainly_outside_at(rho, sigma, z)) {
                    return false;
                }
            }
            const analyse::AbsoluteStability exact = analyse::absolute_stability(rho, sigma);
            return exact.status != analyse::RegionStatus::DECIDED || exact.a_stable;
        }
        return true;
    }
    if (space_.m == 2 && (constraints.p_stable || objective == Objective::PERIODICITY)) {
        const IntervalEstimate periodic = estimate_interval(
            rho_, sigma_, IntervalKind::PERIODICITY, objective == Objective::PERIODICITY, roots_);
        estimate.primary = periodic.end;
        if (constraints.p_stable && periodic.end != std::numeric_limits<double>::infinity()) {
            if (periodic.suspect > 0.0 && certainly_outside_at(rho, sigma, periodic.suspect)) {
                return false;
            }
            const analyse::Periodicity exact = analyse::periodicity(rho, sigma);
            return exact.status == analyse::RegionStatus::REFUSED || exact.p_stable;
        }
    }
    if (space_.m == 2 && objective == Objective::ABSOLUTE_STABILITY) {
        estimate.primary =
            estimate_interval(rho_, sigma_, IntervalKind::ABSOLUTE, true, roots_).end;
    }
    return true;
}

Screening Screener::screen(std::span<const std::int64_t> integers) {
    Screening result;
    exact_from_integers(integers);
    const std::size_t n = as_index(space_.k) + 1;
    const Constraints& constraints = request_.constraints;
    if (constraints.zero_stable && !zero_stable(integers.first(n))) {
        result.drop = Drop::ZERO_STABILITY;
        return result;
    }
    if (constraints.irreducible &&
        analyse::characteristic_polynomials(space_.k, exact_).reducible) {
        result.drop = Drop::IRREDUCIBLE;
        return result;
    }
    rho_.assign(integers.begin(), integers.begin() + static_cast<std::ptrdiff_t>(n));
    sigma_.assign(integers.begin() + static_cast<std::ptrdiff_t>(n), integers.end());
    if (!region_kept(result.estimate)) {
        result.drop = space_.m == 1 ? Drop::A_STABILITY : Drop::P_STABILITY;
        return result;
    }
    if (exact_objective(request_.objective)) {
        result.estimate =
            exact_score(request_.objective, exact_value(request_.objective, space_, exact_));
    }
    // A sampled estimate that came out NaN ranks with the unknown ones.
    if (std::isnan(result.estimate.primary) || std::isnan(result.estimate.secondary)) {
        result.estimate = {-std::numeric_limits<double>::infinity(), 0.0};
    }
    result.kept = true;
    return result;
}

} // namespace ordimet::design

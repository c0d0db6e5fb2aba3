// Candidates analysed exactly.

#include "design/search/certify.hpp"

#include "analyse/exact/numbers.hpp"
#include "analyse/linear/ssp.hpp"
#include "analyse/report/json_values.hpp"

#include <cstdio>
#include <cstdlib>
#include <limits>

namespace ordimet::design {
namespace {

using analyse::IntervalEnd;
using analyse::RegionStatus;

double end_score(const IntervalEnd& end) {
    switch (end.kind) {
    case IntervalEnd::Kind::NONE:
        return 0.0;
    case IntervalEnd::Kind::INFINITE:
        return std::numeric_limits<double>::infinity();
    case IntervalEnd::Kind::FINITE:
        return end.value;
    }
    return 0.0;
}

// The constraints in the screening's order: sets the first one failed;
// false when one can't be decided before that.
bool check_constraints(const Constraints& constraints, int m, Certificate& c) {
    if (constraints.zero_stable) {
        if (c.roots.status != analyse::RootStatus::DECIDED) {
            return false;
        }
        if (!c.roots.zero_stable) {
            c.drop = Drop::ZERO_STABILITY;
            return true;
        }
    }
    if (constraints.irreducible) {
        if (c.polynomials.refused) {
            return false;
        }
        if (c.polynomials.reducible) {
            c.drop = Drop::IRREDUCIBLE;
            return true;
        }
    }
    if (constraints.a_stable && m == 1) {
        if (c.absolute.status == RegionStatus::REFUSED) {
            return false;
        }
        c.drop = c.absolute.a_stable ? Drop::NONE : Drop::A_STABILITY;
    }
    if (constraints.p_stable && m == 2) {
        // Without principal roots (not applicable) there is no interval of
        // periodicity: not P-stable.
        if (c.periodicity.status == RegionStatus::REFUSED) {
            return false;
        }
        c.drop = c.periodicity.p_stable ? Drop::NONE : Drop::P_STABILITY;
    }
    return true;
}

} // namespace

Score region_score(Objective objective, const Certificate& c) {
    const double unknown = -std::numeric_limits<double>::infinity();
    switch (objective) {
    case Objective::REAL_INTERVAL:
        return {c.absolute.status == RegionStatus::DECIDED ? end_score(c.absolute.real_interval)
                                                           : unknown,
                0.0};
    case Objective::ALPHA:
        return {c.absolute.status == RegionStatus::DECIDED
                    ? analyse::two_decimals(c.absolute.alpha_degrees)
                    : unknown,
                0.0};
    case Objective::PERIODICITY:
        return {c.periodicity.status == RegionStatus::DECIDED ? end_score(c.periodicity.periodicity)
                                                              : unknown,
                0.0};
    case Objective::ABSOLUTE_STABILITY:
        return {c.periodicity.status == RegionStatus::DECIDED ? end_score(c.periodicity.absolute)
                                                              : unknown,
                0.0};
    default:
        return {unknown, 0.0};
    }
}

Certificate certify(const Space& space, const SearchRequest& request, std::uint64_t index) {
    Certificate c;
    c.index = index;
    const GridWalk walk(space, index);
    candidate_coefficients(space, walk.integers(), c.coefficients);
    const std::size_t n = analyse::as_index(space.k) + 1;
    const std::span<const Rational> all = c.coefficients;
    c.order = analyse::exact_order(space.k, space.m, all);
    c.polynomials = analyse::characteristic_polynomials(space.k, all);
    c.roots = analyse::root_condition(space.k, space.m, c.polynomials.rho);
    if (space.m == 1) {
        c.absolute = analyse::absolute_stability(all.first(n), all.subspan(n));
        c.ssp = analyse::ssp_coefficient(all.first(n), all.subspan(n));
    } else if (space.m == 2) {
        c.periodicity = analyse::periodicity(all.first(n), all.subspan(n));
    }
    // Every method of the space has the order asked for; a method that
    // hadn't would be a fault of the space, and is not offered.
    const bool ordered = c.order.error_index >= 0 && c.order.order >= space.order;
    if (!check_constraints(request.constraints, space.m, c) || !ordered) {
        c.undecided = c.drop == Drop::NONE;
        return c;
    }
    if (exact_objective(request.objective)) {
        c.exact = exact_value(request.objective, space, all);
        c.score = exact_score(request.objective, c.exact);
    } else {
        c.score = region_score(request.objective, c);
    }
    c.undecided =
        c.drop == Drop::NONE && c.score.primary == -std::numeric_limits<double>::infinity();
    return c;
}

} // namespace ordimet::design

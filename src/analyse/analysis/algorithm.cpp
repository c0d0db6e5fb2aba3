// One algorithm of a method: its reading, exact order, polynomials, roots
// and linear stability.

#include "analyse/analysis/stages.hpp"
#include "analyse/exact/flint_handles.hpp"
#include "analyse/exact/numbers.hpp"
#include "analyse/linear/ssp.hpp"
#include "analyse/roots/roots.hpp"

#include <algorithm>
#include <charconv>

namespace ordimet::analyse {
namespace {

void fill_order(const ExactOrder& order, AlgorithmAnalysis& algorithm) {
    algorithm.is_explicit = !order.implicit;
    algorithm.error_index = order.error_index;
    algorithm.order = order.order;
    algorithm.zero_bound = order.bound;
    algorithm.error_coefficient.reset();
    algorithm.error_constant.reset();
    algorithm.error_constant_decimal = 0.0;
    if (order.error_index >= 0) {
        algorithm.error_coefficient = order.error_coefficient;
    }
    if (order.outcome == OrderOutcome::FOUND) {
        algorithm.error_constant = order.error_constant;
        algorithm.error_constant_decimal = order.error_constant_decimal;
    }
}

void fill_roots(const RootCondition& condition, AlgorithmAnalysis& algorithm) {
    algorithm.rho_zero = condition.status == RootStatus::ZERO_POLYNOMIAL;
    algorithm.degree_below_step = condition.degree_below_step;
    algorithm.zero_stable = condition.zero_stable;
    algorithm.strongly_stable = condition.strongly_stable;
    algorithm.weakly_stable = condition.weakly_stable;
    algorithm.roots = condition.roots;
    for (Root& root : algorithm.roots) {
        // A printed "-0" says nothing the reader needs.
        root.re = root.re == 0.0 ? 0.0 : root.re;
        root.im = root.im == 0.0 ? 0.0 : root.im;
    }
}

// The linear stability on the test equation of the algorithm's m.
void fill_linear_stability(int k, int m, std::span<const Rational> all,
                           AlgorithmAnalysis& algorithm) {
    const auto n = static_cast<std::size_t>(k) + 1;
    if (m == 1) {
        algorithm.absolute = absolute_stability(all.first(n), all.subspan(n));
    } else if (m == 2) {
        algorithm.periodicity = periodicity(all.first(n), all.subspan(n));
    }
}

} // namespace

Failure analyse_algorithm(std::size_t a, int written_k, int s, int m, bool stability,
                          AnalysisWorkspace& workspace, AlgorithmAnalysis& algorithm) {
    const int k = written_k - s;
    choose_reading(a, written_k, s, m, workspace, algorithm);
    const Coefficients& chosen = workspace.chosen[a];
    const CharacteristicPolynomials polynomials = characteristic_polynomials(k, chosen);
    const RootCondition condition = root_condition(k, m, polynomials.rho);
    const bool order_refused = workspace.orders[a].outcome == OrderOutcome::REFUSED;
    if (condition.status == RootStatus::REFUSED && !polynomials.refused && !order_refused) {
        return Failure::ROOTS_BEYOND_EXACT_LIMIT;
    }
    if (order_refused || polynomials.refused || condition.status == RootStatus::REFUSED) {
        return Failure::COEFFICIENTS_BEYOND_EXACT_LIMIT;
    }
    fill_order(workspace.orders[a], algorithm);
    const std::span<const Rational> all(chosen);
    const auto n = static_cast<std::size_t>(k) + 1;
    algorithm.rho.assign(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(n));
    algorithm.sigma.assign(all.begin() + static_cast<std::ptrdiff_t>(n), all.end());
    algorithm.stability_analysed = stability;
    if (stability) {
        fill_linear_stability(k, m, all, algorithm);
    }
    if (m == 1) {
        algorithm.ssp_coefficient = ssp_coefficient(all.first(n), all.subspan(n));
    }
    algorithm.reducible = polynomials.reducible;
    algorithm.common_factor = polynomials.common_factor;
    fill_roots(condition, algorithm);
    algorithm.convergent =
        algorithm.error_index >= 0 && algorithm.order >= 1 && algorithm.zero_stable;
    return Failure::NONE;
}

} // namespace ordimet::analyse

// One algorithm of a method: its reading, exact order, polynomials, roots
// and linear stability.

#include "analyse/analysis/stages.hpp"
#include "analyse/exact/flint_handles.hpp"
#include "analyse/exact/numbers.hpp"
#include "analyse/roots/roots.hpp"

#include <algorithm>
#include <charconv>

namespace ordimet::analyse {
namespace {

// "p/q" or "n" into `text`, reusing its memory. Numerator and denominator
// that fit a machine word (every coefficient of a usual method) are printed
// here without the allocations of FLINT's general conversion.
void rational_text(const Rational& value, std::string& text) {
    const fmpz numerator = *fmpq_numref(value.get());
    const fmpz denominator = *fmpq_denref(value.get());
    if (COEFF_IS_MPZ(numerator) || COEFF_IS_MPZ(denominator)) {
        text = value.text();
        return;
    }
    char digits[24]; // a word's 19 digits and a sign
    text.assign(digits, std::to_chars(digits, digits + sizeof digits, numerator).ptr);
    if (denominator != 1) {
        text += '/';
        text.append(digits, std::to_chars(digits, digits + sizeof digits, denominator).ptr);
    }
}

void to_text(std::span<const Rational> values, std::vector<std::string>& texts) {
    texts.resize(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        rational_text(values[i], texts[i]);
    }
}

void fill_order(const ExactOrder& order, AlgorithmAnalysis& algorithm) {
    algorithm.is_explicit = !order.implicit;
    algorithm.error_index = order.error_index;
    algorithm.order = order.order;
    algorithm.zero_bound = order.bound;
    algorithm.error_coefficient.clear();
    algorithm.error_constant.clear();
    algorithm.error_constant_decimal = 0.0;
    if (order.error_index >= 0) {
        algorithm.error_coefficient = order.error_coefficient.text();
    }
    if (order.outcome == OrderOutcome::FOUND) {
        algorithm.error_constant = order.error_constant.text();
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

// rho and sigma without the factor common to them, as doubles, and
// whether the fixed roots (those of the factor) are allowed in the region.
void fill_region_pair(int k, const CharacteristicPolynomials& polynomials,
                      AlgorithmAnalysis& algorithm) {
    algorithm.region_rho_decimal = algorithm.rho_decimal;
    algorithm.region_sigma_decimal = algorithm.sigma_decimal;
    algorithm.fixed_roots_allowed = true;
    std::span<const Rational> fixed;
    if (polynomials.reducible) {
        fixed = polynomials.common_factor;
    } else if (polynomials.sigma.empty() && !polynomials.rho.empty()) {
        fixed = polynomials.rho;
    } else {
        return;
    }
    FmpqPoly factor;
    to_fmpq_poly(factor.get(), fixed);
    FmpqPoly quotient;
    for (const bool first : {true, false}) {
        FmpqPoly poly;
        to_fmpq_poly(poly.get(), first ? polynomials.rho : polynomials.sigma);
        fmpq_poly_div(quotient.get(), poly.get(), factor.get());
        std::vector<double>& out =
            first ? algorithm.region_rho_decimal : algorithm.region_sigma_decimal;
        out.assign(static_cast<std::size_t>(k) + 1, 0.0);
        Rational coefficient;
        for (long j = 0; j < fmpq_poly_length(quotient.get()) && j <= k; ++j) {
            fmpq_poly_get_coeff_fmpq(coefficient.get(), quotient.get(), j);
            out[static_cast<std::size_t>(j)] = nearest_double(coefficient);
        }
    }
    const int degree = static_cast<int>(fixed.size()) - 1;
    algorithm.fixed_roots_allowed = root_condition(degree, 1, fixed).zero_stable;
}

// The linear stability on the test equation of the algorithm's m, and the
// doubles the pictures draw.
void fill_linear_stability(int k, int m, const CharacteristicPolynomials& polynomials,
                           std::span<const Rational> all, AlgorithmAnalysis& algorithm) {
    const auto n = static_cast<std::size_t>(k) + 1;
    for (std::size_t j = 0; j < n; ++j) {
        algorithm.rho_decimal.push_back(nearest_double(all[j]));
        algorithm.sigma_decimal.push_back(nearest_double(all[n + j]));
    }
    fill_region_pair(k, polynomials, algorithm);
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
    to_text(all.first(n), algorithm.rho);
    to_text(all.subspan(n), algorithm.sigma);
    algorithm.stability_analysed = stability;
    if (stability) {
        fill_linear_stability(k, m, polynomials, all, algorithm);
    }
    algorithm.reducible = polynomials.reducible;
    to_text(polynomials.common_factor, algorithm.common_factor);
    fill_roots(condition, algorithm);
    algorithm.convergent =
        algorithm.error_index >= 0 && algorithm.order >= 1 && algorithm.zero_stable;
    return Failure::NONE;
}

} // namespace ordimet::analyse

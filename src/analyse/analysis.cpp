#include "analyse/analysis.hpp"

#include "analyse/flint_handles.hpp"
#include "cyclic/cyclic.hpp"
#include "driver/support/support.hpp"
#include "stability/stability.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace ordimet::analyse {
namespace {

// Both errors of the exponential test at or below this are taken as round-off:
// a hundred steps of a method whose parasitic roots amplify the rounding of
// each step leave errors of this size against exp(1) even when the method is
// exact, so the test's comparison of the two errors says nothing. Left to us;
// chosen about a million units in the last place of e, far above what a
// hundred roundings give and far below the truncation error of any method of
// order below 6 at h = 0.01.
constexpr double ROUND_OFF_LEVEL = 1e-10;

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

// The order conditions satisfied: q, or above every q when no C_i is non-zero;
// a reading the exact analysis refuses comes last.
constexpr std::int64_t REFUSED_READING = -1;
std::int64_t conditions_satisfied(const ExactOrder& order) {
    if (order.outcome == OrderOutcome::REFUSED) {
        return REFUSED_READING;
    }
    return order.error_index >= 0 ? order.error_index : order.bound + 1;
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

// Why the test's verdict and the root condition disagree, if they do.
// `outside` tells whether a root (eigenvalue) lies outside the circle.
Disagreement disagreement(const ExponentialTest& test, bool zero_stable, bool weakly_stable,
                          bool outside, bool multiple_on_circle) {
    if (test.verdict == TestVerdict::DIVERGED && zero_stable) {
        const double exact = std::exp(1.0);
        if (std::fabs(exact - test.larger_step_value) <= ROUND_OFF_LEVEL &&
            std::fabs(exact - test.smaller_step_value) <= ROUND_OFF_LEVEL) {
            return Disagreement::ROUND_OFF;
        }
        return weakly_stable ? Disagreement::WEAK_ROOT : Disagreement::DIVERGED_OTHERWISE;
    }
    if (test.verdict == TestVerdict::CONVERGED && !zero_stable) {
        if (outside) {
            return Disagreement::UNREACHED_ROOT;
        }
        if (multiple_on_circle) {
            return Disagreement::UNREACHED_MULTIPLE_ROOT;
        }
        return Disagreement::CONVERGED_OTHERWISE;
    }
    return Disagreement::NONE;
}

template <class Value> bool any_outside(const std::vector<Value>& values) {
    return std::any_of(values.begin(), values.end(),
                       [](const Value& v) { return v.location == Location::OUTSIDE; });
}

// ordimet's own analyses on its doubles, in its order: step reduction,
// consistency with its tolerance, method order, for a cyclic method the raise
// from the augmented matrix, and the exponential test where ordimet runs it.
void run_tolerance_analyses(MethodKind kind, int m, AnalysisWorkspace& workspace,
                            MethodAnalysis& method) {
    const int c = static_cast<int>(workspace.files.size());
    int k = workspace.files[0].k;
    const std::size_t set_size = 2 * static_cast<std::size_t>(k) + 2;
    workspace.values.resize(set_size * static_cast<std::size_t>(c));
    workspace.rows.resize(static_cast<std::size_t>(c));
    for (std::size_t a = 0; a < workspace.files.size(); ++a) {
        double* set = workspace.values.data() + a * set_size;
        const auto& coefficients = workspace.files[a].coefficients;
        for (std::size_t i = 0; i < set_size; ++i) {
            set[i] = coefficients[i].value;
        }
        workspace.rows[a] = set;
    }
    CoefficientTable table = workspace.rows.data();
    reduce_step(k, c, table);
    workspace.results.resize(static_cast<std::size_t>(c));
    AlgorithmResult* results = workspace.results.data();
    analyse_algorithms(k, m, c, table, results);
    for (std::size_t a = 0; a < method.algorithms.size(); ++a) {
        AlgorithmAnalysis& algorithm = method.algorithms[a];
        algorithm.tolerance_error_index = results[a].error_index;
        algorithm.tolerance_order_known = results[a].error_index != NOT_COMPUTABLE;
        algorithm.tolerance_order =
            algorithm.tolerance_order_known ? std::int64_t{results[a].error_index} - m : 0;
    }
    method_consistency(c, results);
    const int q = results[0].error_index;
    method.tolerance_order_known = q != NOT_COMPUTABLE;
    method.tolerance_order = method.tolerance_order_known ? std::int64_t{q} - m : 0;
    if (kind == MethodKind::COMPOSITE || !method.tolerance_order_known ||
        method.tolerance_order <= 0) {
        return;
    }

    int raise = 0;
    if (kind == MethodKind::CYCLIC) {
        const int d = k > c ? k : c;
        OwnedRows matrix(alloc_matrix(d), d);
        if (matrix.get() == nullptr) {
            return; // ordimet ends here too, with its memory message
        }
        build_augmented_matrix(c, k, d, table, matrix.get(), results);
        if (triangularise_and_rank(d, matrix.get()) == d - 1) {
            raise = 1;
        }
        method.tolerance_order += raise;
    }
    ExponentialTest& test = method.test;
    test.degree = raise + (q - m);
    const int tested = exponential_stability_test(1.0, test.degree, k, m, c, test.larger_step_value,
                                                  test.smaller_step_value, table);
    test.verdict = tested == STABILITY_CONVERGED  ? TestVerdict::CONVERGED
                   : tested == STABILITY_DIVERGED ? TestVerdict::DIVERGED
                                                  : TestVerdict::NOT_RUN;
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

AnalysisOutcome failure(int code, const std::string& name) {
    return {code, name, failure_message(code, name)};
}

} // namespace

std::string failure_message(int code, const std::string& name) {
    switch (code) {
    case ROOTS_BEYOND_EXACT_LIMIT:
        return "As raizes de rho do arquivo " + name +
               " estao proximas demais para uma decisao certificada.";
    case COEFFICIENTS_BEYOND_EXACT_LIMIT:
        return "Os coeficientes do arquivo " + name + " sao grandes demais para a analise exata.";
    default:
        return load_error_message(code, name);
    }
}

AnalysisOutcome analyse_method(MethodKind kind, std::span<const std::string> names, bool stability,
                               AnalysisWorkspace& workspace, MethodAnalysis& method) {
    workspace.names.clear();
    for (const std::string& name : names) {
        workspace.names.push_back(name.c_str());
    }
    std::size_t failing = 0;
    const int loaded = load_exact_method_files(workspace.names, workspace.files, failing);
    if (loaded != LOAD_OK) {
        return failure(loaded, failing < names.size() ? names[failing] : std::string());
    }

    const std::vector<ExactMethodFile>& files = workspace.files;
    const std::size_t c = files.size();
    const int written_k = files[0].k;
    const int m = files[0].m;
    // Left to us: ordimet analyses composite and cyclic methods for m = 1
    // only and ends such a run with this message; here it is an error of the
    // method (exit status 1) rather than a half report, so that scripts see
    // one clear answer.
    if (kind != MethodKind::SIMPLE && m > 1) {
        return {NOT_SIMPLE_ORDER_ABOVE_ONE, "", ORDER_NOT_ONE_MESSAGE};
    }

    // The step reduction on the values as written: a leading column is
    // removed only when every coefficient in it is written as an exact zero,
    // and the same columns go in both readings, so that both readings are of
    // the same step.
    workspace.written.resize(c);
    workspace.intended.resize(c);
    for (std::size_t a = 0; a < c; ++a) {
        const auto& coefficients = files[a].coefficients;
        Coefficients& values = workspace.written[a];
        values.resize(coefficients.size());
        for (std::size_t i = 0; i < coefficients.size(); ++i) {
            values[i] = coefficients[i].as_written;
        }
    }
    const int s = leading_zero_columns(written_k, workspace.written);
    const int k = written_k - s;
    // Left to us: beyond MAX_EXACT_STEP the exact analyses would take seconds;
    // the whole method is refused with a message rather than reported with
    // its exact half missing.
    if (k > MAX_EXACT_STEP) {
        AnalysisOutcome outcome;
        outcome.code = STEP_BEYOND_EXACT_LIMIT;
        char text[160];
        std::snprintf(text, sizeof text,
                      "O passo real do metodo e' %d, acima de %d, o limite da analise exata.", k,
                      MAX_EXACT_STEP);
        outcome.message = text;
        return outcome;
    }

    method.kind = kind;
    method.files.assign(names.begin(), names.end());
    method.m = m;
    method.written_k = written_k;
    method.k = k;
    method.algorithms.resize(c);
    workspace.chosen.resize(c);
    workspace.orders.resize(c);
    for (std::size_t a = 0; a < c; ++a) {
        AlgorithmAnalysis& algorithm = method.algorithms[a];
        algorithm = AlgorithmAnalysis{};
        algorithm.file = names[a];
        const auto& coefficients = files[a].coefficients;
        algorithm.two_readings =
            std::any_of(coefficients.begin(), coefficients.end(),
                        [](const CoefficientReading& r) { return r.two_readings; });
        Coefficients written = drop_leading_columns(written_k, s, workspace.written[a]);
        ExactOrder written_order = exact_order(k, m, written);
        workspace.chosen[a] = std::move(written);
        workspace.orders[a] = std::move(written_order);
        algorithm.reading = Reading::AS_WRITTEN;
        if (algorithm.two_readings) {
            Coefficients& intended_all = workspace.intended[a];
            intended_all.resize(coefficients.size());
            for (std::size_t i = 0; i < coefficients.size(); ++i) {
                intended_all[i] = coefficients[i].intended;
            }
            Coefficients intended = drop_leading_columns(written_k, s, intended_all);
            ExactOrder intended_order = exact_order(k, m, intended);
            // The reading that satisfies more order conditions leads; as
            // written when they tie.
            ExactOrder* other = &intended_order;
            if (conditions_satisfied(intended_order) > conditions_satisfied(workspace.orders[a])) {
                std::swap(workspace.chosen[a], intended);
                std::swap(workspace.orders[a], intended_order);
                algorithm.reading = Reading::FRACTIONS;
            }
            algorithm.other_error_index = other->error_index;
            algorithm.other_order = other->order;
        }
        const Coefficients& chosen = workspace.chosen[a];
        const CharacteristicPolynomials polynomials = characteristic_polynomials(k, chosen);
        RootCondition condition = root_condition(k, m, polynomials.rho);
        if (condition.status == RootStatus::REFUSED && !polynomials.refused &&
            workspace.orders[a].outcome != OrderOutcome::REFUSED) {
            return failure(ROOTS_BEYOND_EXACT_LIMIT, names[a]);
        }
        if (workspace.orders[a].outcome == OrderOutcome::REFUSED || polynomials.refused ||
            condition.status == RootStatus::REFUSED) {
            return failure(COEFFICIENTS_BEYOND_EXACT_LIMIT, names[a]);
        }
        fill_order(workspace.orders[a], algorithm);
        const std::span<const Rational> all(chosen);
        to_text(all.first(static_cast<std::size_t>(k) + 1), algorithm.rho);
        to_text(all.subspan(static_cast<std::size_t>(k) + 1), algorithm.sigma);

        algorithm.stability_analysed = stability;
        if (stability) {
            // The doubles are for the pictures, which are drawn only with
            // the stability analyses (--plot asks for them).
            for (std::size_t j = 0; j <= static_cast<std::size_t>(k); ++j) {
                algorithm.rho_decimal.push_back(nearest_double(all[j]));
                algorithm.sigma_decimal.push_back(
                    nearest_double(all[static_cast<std::size_t>(k) + 1 + j]));
            }
            fill_region_pair(k, polynomials, algorithm);
        }
        if (!stability) {
            // nothing: the records stay NOT_APPLICABLE
        } else if (m == 1) {
            algorithm.absolute = absolute_stability(all.first(static_cast<std::size_t>(k) + 1),
                                                    all.subspan(static_cast<std::size_t>(k) + 1));
        } else if (m == 2) {
            algorithm.periodicity = periodicity(all.first(static_cast<std::size_t>(k) + 1),
                                                all.subspan(static_cast<std::size_t>(k) + 1));
        }
        algorithm.reducible = polynomials.reducible;
        to_text(polynomials.common_factor, algorithm.common_factor);
        fill_roots(condition, algorithm);
        algorithm.convergent =
            algorithm.error_index >= 0 && algorithm.order >= 1 && algorithm.zero_stable;
    }

    const MethodOrder order =
        method_order(k, m, kind == MethodKind::CYCLIC, workspace.orders, workspace.chosen);
    method.order_known = order.computable;
    method.order = order.order;
    method.raise_computed = order.raise_computed;
    method.raise_refused = order.raise_refused;
    method.dimension = order.raise_refused ? std::max(k, static_cast<int>(c)) : order.dimension;
    method.rank = order.rank;
    method.raised = order.raised;

    method.cycle = CycleAnalysis{};
    if (kind == MethodKind::CYCLIC) {
        const CycleStability cycle = cycle_stability(k, workspace.chosen);
        for (std::size_t a = 0; a < c; ++a) {
            if (workspace.chosen[a][static_cast<std::size_t>(k)].is_zero()) {
                method.cycle.without_companion.push_back(static_cast<int>(a) + 1);
            }
        }
        method.cycle.decided = cycle.status == CycleStatus::DECIDED;
        method.cycle.refused = cycle.status == CycleStatus::REFUSED;
        method.cycle.zero_stable = cycle.zero_stable;
        method.cycle.eigenvalues = cycle.eigenvalues;
        for (Eigenvalue& value : method.cycle.eigenvalues) {
            value.re = value.re == 0.0 ? 0.0 : value.re;
            value.im = value.im == 0.0 ? 0.0 : value.im;
        }
        method.zero_stable_known = method.cycle.decided;
        method.zero_stable = method.cycle.zero_stable;
    } else {
        method.zero_stable_known = true;
        method.zero_stable =
            std::all_of(method.algorithms.begin(), method.algorithms.end(),
                        [](const AlgorithmAnalysis& algorithm) { return algorithm.zero_stable; });
    }
    method.convergent =
        method.order_known && method.order >= 1 && method.zero_stable_known && method.zero_stable;

    method.test = ExponentialTest{};
    run_tolerance_analyses(kind, m, workspace, method);
    for (AlgorithmAnalysis& algorithm : method.algorithms) {
        // The tolerance order above the exact order of every reading: only
        // fractions written out can give the exact order ordimet suggests.
        const std::int64_t best_exact =
            std::max(algorithm.error_index,
                     algorithm.two_readings ? algorithm.other_error_index : std::int64_t{-1});
        algorithm.fractions_needed = algorithm.tolerance_order_known &&
                                     algorithm.error_index >= 0 &&
                                     algorithm.tolerance_error_index > best_exact;
    }
    // ordimet tests a cyclic method only as a whole, so its verdict belongs to
    // the method and is compared with the cycle's zero-stability; the
    // algorithms of CO and CI methods keep "not run" (left to us: repeating
    // the cycle's verdict under each algorithm would set it beside roots it
    // says nothing about).
    if (kind == MethodKind::SIMPLE) {
        AlgorithmAnalysis& algorithm = method.algorithms[0];
        method.test.disagreement = disagreement(
            method.test, algorithm.zero_stable, algorithm.weakly_stable,
            any_outside(algorithm.roots),
            std::any_of(algorithm.roots.begin(), algorithm.roots.end(), [m](const Root& r) {
                return r.location == Location::ON && r.multiplicity > m;
            }));
        algorithm.test = method.test;
    } else if (kind == MethodKind::CYCLIC && method.cycle.decided) {
        const auto& values = method.cycle.eigenvalues;
        const bool weak = std::any_of(values.begin(), values.end(), [](const Eigenvalue& v) {
            return v.location == Location::ON && !(v.re == 1.0 && v.im == 0.0);
        });
        method.test.disagreement =
            disagreement(method.test, method.cycle.zero_stable, weak, any_outside(values),
                         std::any_of(values.begin(), values.end(), [](const Eigenvalue& v) {
                             return v.location == Location::ON && v.minimal_multiplicity > 1;
                         }));
    }
    return AnalysisOutcome{};
}

} // namespace ordimet::analyse

// ordimet's own analyses on the doubles it reads, beside the exact ones, and
// what they say of each other.

#include "analyse/analysis/stages.hpp"
#include "cyclic/cyclic.hpp"
#include "stability/stability.hpp"
#include "support/support.hpp"

#include <algorithm>
#include <cmath>

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

// ordimet's doubles as read, laid out as its coefficient table, step
// reduced; returns the reduced step.
int tolerance_table(AnalysisWorkspace& workspace) {
    const std::size_t c = workspace.files.size();
    int k = workspace.files[0].k;
    const std::size_t set_size = 2 * static_cast<std::size_t>(k) + 2;
    workspace.values.resize(set_size * c);
    workspace.rows.resize(c);
    for (std::size_t a = 0; a < c; ++a) {
        double* set = workspace.values.data() + a * set_size;
        const auto& coefficients = workspace.files[a].coefficients;
        for (std::size_t i = 0; i < set_size; ++i) {
            set[i] = coefficients[i].value;
        }
        workspace.rows[a] = set;
    }
    reduce_step(k, static_cast<int>(c), workspace.rows.data());
    return k;
}

// ordimet's raise of a cyclic method from its augmented matrix: 1 when the
// rank is d - 1; -1 when ordimet, short of memory, builds no matrix.
int tolerance_raise(int k, int c, CoefficientTable table, AlgorithmResult* results) {
    const int d = k > c ? k : c;
    OwnedRows matrix(alloc_matrix(d), d);
    if (matrix.get() == nullptr) {
        return -1;
    }
    build_augmented_matrix(c, k, d, table, matrix.get(), results);
    return triangularise_and_rank(d, matrix.get()) == d - 1 ? 1 : 0;
}

} // namespace

void run_tolerance_analyses(MethodKind kind, int m, AnalysisWorkspace& workspace,
                            MethodAnalysis& method) {
    const int c = static_cast<int>(workspace.files.size());
    const int k = tolerance_table(workspace);
    CoefficientTable table = workspace.rows.data();
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
    const int raise = kind == MethodKind::CYCLIC ? tolerance_raise(k, c, table, results) : 0;
    if (raise < 0) {
        return; // ordimet ends here too, with its memory message
    }
    method.tolerance_order += raise;
    ExponentialTest& test = method.test;
    test.degree = raise + (q - m);
    const int tested = exponential_stability_test(1.0, test.degree, k, m, c, test.larger_step_value,
                                                  test.smaller_step_value, table);
    test.verdict = tested == STABILITY_CONVERGED  ? TestVerdict::CONVERGED
                   : tested == STABILITY_DIVERGED ? TestVerdict::DIVERGED
                                                  : TestVerdict::NOT_RUN;
}

void compare_with_tolerance(MethodKind kind, int m, MethodAnalysis& method) {
    for (AlgorithmAnalysis& algorithm : method.algorithms) {
        // The tolerance order above the exact order of every reading: only
        // fractions written out can give the exact order ordimet suggests.
        std::int64_t best_exact = algorithm.error_index;
        for (const ReadingTried& reading : algorithm.readings) {
            best_exact = std::max(best_exact, reading.error_index);
        }
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
}

} // namespace ordimet::analyse

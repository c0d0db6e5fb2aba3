#pragma once

// The model: the analysis of one method as the reports show it. For every
// algorithm the exact results under the reading chosen, ordimet's own figures
// beside them, and for the method its order, zero-stability and, for a
// cyclic method, the cycle. Exact values are kept as values; the reports
// write them and the pictures make their own doubles of them.

#include "analyse/convergence/convergence.hpp"
#include "analyse/cycle/cycle.hpp"
#include "analyse/linear/linear_stability.hpp"
#include "analyse/roots/roots.hpp"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ordimet::analyse {

// The kinds of method, as on ordimet's command line: SI, CO and CI.
enum class MethodKind { SIMPLE, COMPOSITE, CYCLIC };

// Which value of its coefficients an algorithm was analysed with: the
// decimals as written, each as the fraction it stands for, or one of rho and
// sigma in its fraction reading and the other solved for the highest order.
enum class Reading { AS_WRITTEN, FRACTIONS, SOLVED };

// What a SOLVED reading solved for: sigma for rho in its fraction reading,
// rho for sigma, or every coefficient the written digits don't determine.
enum class SolvedPart { SIGMA, RHO, UNDETERMINED };

// One reading that was tried, and the order conditions it satisfies.
struct ReadingTried {
    Reading reading = Reading::AS_WRITTEN;
    SolvedPart solved = SolvedPart::SIGMA; // SOLVED: what was solved for
    // q, or -1 when every coefficient is zero; order = q - m.
    std::int64_t error_index = -1;
    std::int64_t order = 0;
};

enum class TestVerdict { NOT_RUN, CONVERGED, DIVERGED };

// Why ordimet's exponential test and the root condition disagree.
enum class Disagreement {
    NONE,
    // zero-stable, the test diverged: both errors at round-off level
    ROUND_OFF,
    // zero-stable but weakly: a root of modulus 1 besides 1 leaves the circle
    // for h > 0 and the test diverged
    WEAK_ROOT,
    // zero-stable, the test diverged for none of the reasons above
    DIVERGED_OTHERWISE,
    // not zero-stable, the test converged: the root outside the circle did
    // not grow enough in the test's few steps
    UNREACHED_ROOT,
    // not zero-stable only through a root on the circle of multiplicity above
    // m (or a defective eigenvalue) whose slow growth the test didn't reach
    UNREACHED_MULTIPLE_ROOT,
    // not zero-stable, the test converged, and neither of the two above
    CONVERGED_OTHERWISE,
};

// ordimet's exponential test on the same method, run as ordimet runs it.
struct ExponentialTest {
    TestVerdict verdict = TestVerdict::NOT_RUN;
    int degree = 0; // the Taylor degree p handed to the test
    double larger_step_value = 0.0;
    double smaller_step_value = 0.0;
    Disagreement disagreement = Disagreement::NONE;
};

// One algorithm.
struct AlgorithmAnalysis {
    std::string file;
    bool is_explicit = false;
    Reading reading = Reading::AS_WRITTEN;
    SolvedPart solved = SolvedPart::SIGMA; // reading SOLVED: what was solved for
    // Whether some other reading than the one as written was tried.
    bool two_readings = false;
    // Every reading tried, the one as written first.
    std::vector<ReadingTried> readings;
    // rho's and sigma's coefficients in ascending powers (A[0..k], B[0..k]
    // after the step reduction), exact, in the reading used.
    std::vector<Rational> rho;
    std::vector<Rational> sigma;

    // q and q - m, or q = -1 when every coefficient is zero (every C_i up to
    // zero_bound is then zero).
    std::int64_t error_index = -1;
    std::int64_t order = 0;
    std::int64_t zero_bound = 0;
    std::optional<Rational> error_coefficient; // none when there is no q
    // C_q / sigma(1); none when there is no q or sigma(1) = 0.
    std::optional<Rational> error_constant;
    double error_constant_decimal = 0.0;
    // With two_readings: the q of the reading as written when another one
    // leads, else of the best other reading (-1 for none).
    std::int64_t other_error_index = -1;
    std::int64_t other_order = 0;

    // ordimet's q from the doubles and its tolerance, or NOT_COMPUTABLE.
    int tolerance_error_index = 0;
    std::int64_t tolerance_order = 0;
    bool tolerance_order_known = false;
    // The tolerance order is above the exact order under both readings: the
    // coefficients need writing as fractions.
    bool fractions_needed = false;

    // rho and sigma share a non-constant factor; its coefficients, ascending.
    bool reducible = false;
    std::vector<Rational> common_factor;

    bool zero_stable = false;
    bool strongly_stable = false;
    bool weakly_stable = false;
    bool convergent = false;
    // rho is the zero polynomial (no recurrence), or of degree below k (A[k]
    // is zero and y_{n+k} is not determined).
    bool rho_zero = false;
    bool degree_below_step = false;
    std::vector<Root> roots;

    // Linear stability on the test equation of the algorithm's m (1 or 2);
    // the other record stays NOT_APPLICABLE. Only when stability_analysed.
    bool stability_analysed = false;
    // m = 1: the SSP coefficient (threshold factor), exact; none when it is
    // not defined or unbounded (see linear/ssp.hpp).
    std::optional<Rational> ssp_coefficient;
    AbsoluteStability absolute;
    Periodicity periodicity;

    // Simple methods only; NOT_RUN for the algorithms of CO and CI methods.
    ExponentialTest test;

    // --converge, CO: the algorithm integrated on its own (one run per test
    // problem); empty otherwise.
    std::vector<ConvergenceRun> convergence;
};

// Why a method has no convergence order.
enum class NoConvergenceOrder {
    NONE,
    NOT_ZERO_STABLE, // an algorithm (SI, CO) or the cycle (CI) is not zero-stable
    NOT_DECIDED,     // the cycle's zero-stability is not decided
    NO_ORDER,        // an algorithm has no order (every coefficient zero)
};

// Why the order of the augmented matrix's rank test and the convergence
// order of a cyclic method differ.
enum class OrderDisagreement {
    NONE,
    // The rank test raises the order, but the leading local errors don't
    // vanish on the eigenspace of 1: the global error keeps the lower order.
    FALSE_RAISE,
    // The leading local errors vanish on the eigenspace of 1, but the rank
    // test (or ordimet's condition for making it) gives no raise.
    MISSED_RAISE,
};

// The cycle of a cyclic method: the product of the algorithms' companion
// matrices at h = 0, in the order they are applied.
struct CycleAnalysis {
    // Algorithms (numbered from 1) whose A[k] is zero: they have no companion
    // matrix, and the cycle's zero-stability is then not decided.
    std::vector<int> without_companion;
    // The cycle is beyond the limits of the exact analysis (MAX_CYCLE_BITS).
    bool refused = false;
    bool decided = false;
    bool zero_stable = false;
    std::vector<Eigenvalue> eigenvalues;
};

// One method.
struct MethodAnalysis {
    MethodKind kind = MethodKind::SIMPLE;
    std::vector<std::string> files;
    int m = 0;
    int written_k = 0; // as read from the files
    int k = 0;         // after the step reduction
    // The method's order as ordimet defines it, exactly (for CI with the
    // exact raise), when computable.
    bool order_known = false;
    std::int64_t order = 0;
    // CI: the exact rank of the augmented matrix, where ordimet computes it,
    // and whether the cycle is one order better than its parts.
    bool raise_computed = false;
    // d = max(k, c) above MAX_RAISE_DIMENSION: the raise is not computed,
    // as ordimet builds no matrix there either.
    bool raise_refused = false;
    int dimension = 0;
    int rank = 0;
    bool raised = false;
    // ordimet's order of the method from the doubles, with its raise for CI.
    std::int64_t tolerance_order = 0;
    bool tolerance_order_known = false;
    // SI and CO: every algorithm zero-stable; CI: the cycle (only when
    // decided).
    bool zero_stable_known = false;
    bool zero_stable = false;
    // The order of the global error, decided exactly: for SI and CO the
    // smallest exact order of the algorithms, for CI the cycle's (see
    // cycle_order); only for a zero-stable method.
    bool convergence_order_known = false;
    std::int64_t convergence_order = 0;
    NoConvergenceOrder no_convergence_order = NoConvergenceOrder::NONE;
    OrderDisagreement order_disagreement = OrderDisagreement::NONE;
    // The convergence order is at least 1.
    bool convergent = false;
    std::vector<AlgorithmAnalysis> algorithms;
    CycleAnalysis cycle;
    // The test on the whole method (CI); for SI the algorithm's.
    ExponentialTest test;
    // --converge: the method integrated on its test problems (one run per
    // problem); for CO the runs of the algorithm whose smallest measured
    // order is the smallest. Empty without --converge.
    std::vector<ConvergenceRun> convergence;
};

} // namespace ordimet::analyse

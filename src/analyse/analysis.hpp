#pragma once

// The analysis of one method as the reports show it: for every algorithm the
// exact results under the reading chosen, ordimet's own figures beside them,
// and for the method its order, zero-stability and, for a cyclic method, the
// cycle. Exact values are kept as their "p/q" text, which is all the reports
// need of them.

#include "analyse/cli.hpp"
#include "analyse/exact.hpp"
#include "analyse/reading.hpp"
#include "analyse/region.hpp"
#include "consistency/consistency.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ordimet::analyse {

// Which value of its coefficients an algorithm was analysed with.
enum class Reading { AS_WRITTEN, FRACTIONS };

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
    // Whether some coefficient has two readings, and so the other reading was
    // analysed too.
    bool two_readings = false;
    // rho's and sigma's coefficients in ascending powers (A[0..k], B[0..k]
    // after the step reduction), exact, in the reading used.
    std::vector<std::string> rho;
    std::vector<std::string> sigma;

    // q and q - m, or q = -1 when every coefficient is zero (every C_i up to
    // zero_bound is then zero).
    std::int64_t error_index = -1;
    std::int64_t order = 0;
    std::int64_t zero_bound = 0;
    std::string error_coefficient; // empty when there is no q
    // C_q / sigma(1); empty when there is no q or sigma(1) = 0.
    std::string error_constant;
    double error_constant_decimal = 0.0;
    // The other reading's q (-1 for none); only meaningful with two_readings.
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
    std::vector<std::string> common_factor;

    bool zero_stable = false;
    bool strongly_stable = false;
    bool weakly_stable = false;
    bool convergent = false;
    // rho is the zero polynomial (no recurrence), or of degree below k (A[k]
    // is zero and y_{n+k} is not determined).
    bool rho_zero = false;
    bool degree_below_step = false;
    std::vector<Root> roots;

    // rho's and sigma's coefficients as the nearest doubles, for pictures;
    // filled, as the three below, only when stability_analysed.
    std::vector<double> rho_decimal;
    std::vector<double> sigma_decimal;
    // The same without their common factor (for sigma = 0: 1 and 0), for
    // the region's picture and its locus: a root of the factor is a root
    // for every z, lies on no boundary, and on the circle it would blur the
    // picture's test of "strictly inside"; and whether those fixed roots
    // are allowed in S (inside, or simple on the circle).
    std::vector<double> region_rho_decimal;
    std::vector<double> region_sigma_decimal;
    bool fixed_roots_allowed = true;
    // Linear stability on the test equation of the algorithm's m (1 or 2);
    // the other record stays NOT_APPLICABLE. Only when stability_analysed.
    bool stability_analysed = false;
    AbsoluteStability absolute;
    Periodicity periodicity;

    // Simple methods only; NOT_RUN for the algorithms of CO and CI methods.
    ExponentialTest test;
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
    bool convergent = false;
    std::vector<AlgorithmAnalysis> algorithms;
    CycleAnalysis cycle;
    // The test on the whole method (CI); for SI the algorithm's.
    ExponentialTest test;
};

// Failures of the analysis itself, beside the loading result codes.
// A composite or cyclic method for an equation of order above 1: ordimet
// analyses such methods only for m = 1.
inline constexpr int NOT_SIMPLE_ORDER_ABOVE_ONE = -20;
// A reduced step above MAX_EXACT_STEP: refused rather than left to run long.
inline constexpr int STEP_BEYOND_EXACT_LIMIT = -21;
// An algorithm whose exact coefficients are too wide for the exact analyses
// (MAX_EXACT_BITS): refused likewise.
inline constexpr int COEFFICIENTS_BEYOND_EXACT_LIMIT = -22;
// An algorithm whose rho has roots too close to one another or to the unit
// circle for the bounded certified root isolation: refused likewise.
inline constexpr int ROOTS_BEYOND_EXACT_LIMIT = -23;

// The result of analysing the files of one method.
struct AnalysisOutcome {
    int code = LOAD_OK;  // LOAD_OK or a loading result code
    std::string failing; // the file at fault, empty when none is named
    // The message of the failure: failure_message(code, failing) when a file
    // is at fault.
    std::string message;
};

// The message of a failure of the file `name` with the given code; the name
// is written as it is given.
std::string failure_message(int code, const std::string& name);

// Analyses the method of the given kind made of the named files. On failure
// `outcome` carries the code and message and `method` is incomplete. The
// workspace is kept between calls so that a batch reuses its memory.
struct AnalysisWorkspace {
    std::vector<ExactMethodFile> files;
    std::vector<const char*> names;
    std::vector<Coefficients> written;  // after the exact step reduction
    std::vector<Coefficients> intended; // likewise, for the fraction reading
    std::vector<Coefficients> chosen;
    std::vector<ExactOrder> orders;
    std::vector<double> values; // ordimet's doubles, one set after the other
    std::vector<double*> rows;  // ordimet's coefficient table over them
    std::vector<AlgorithmResult> results;
};
// With `stability` false the linear stability analyses are skipped, and
// every algorithm's `stability_analysed` is false.
AnalysisOutcome analyse_method(MethodKind kind, std::span<const std::string> names, bool stability,
                               AnalysisWorkspace& workspace, MethodAnalysis& method);

} // namespace ordimet::analyse

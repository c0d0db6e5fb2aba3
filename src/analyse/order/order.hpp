#pragma once

// Exact orders: the step reduction, the error coefficients, order and error
// constant of an algorithm, and the order of a composite or cyclic method
// with the consistency raise of its augmented matrix. Nothing here prints;
// work beyond the limits of exact/coefficients.hpp is refused, never started.

#include "analyse/exact/coefficients.hpp"

#include <cstdint>
#include <span>

namespace ordimet::analyse {

// --- Step reduction --------------------------------------------------------

// The number s of leading columns j (A[j] and B[j] both exactly 0) common to
// every algorithm; the reduced step count is k - s. At most k: with every
// coefficient 0 the last column stays.
int leading_zero_columns(int k, std::span<const Coefficients> algorithms);

// The coefficients of an algorithm of step count k with its first s columns
// removed: A[s..k] then B[s..k].
Coefficients drop_leading_columns(int k, int s, std::span<const Rational> coefficients);

// --- Exact error coefficients and order ------------------------------------

enum class OrderOutcome {
    FOUND,             // q, C_q and the error constant
    NO_ERROR_CONSTANT, // q and C_q found, but B[0] + ... + B[k] = 0
    ALL_ZERO,          // every coefficient is 0: nothing is computable
    REFUSED,           // k above MAX_EXACT_STEP, or the set beyond MAX_EXACT_BITS
};

struct ExactOrder {
    OrderOutcome outcome = OrderOutcome::ALL_ZERO;
    bool implicit = false;               // B[k] != 0
    std::int64_t error_index = -1;       // q: C_0 .. C_{q-1} are 0, C_q is not; -1 when none
    std::int64_t order = 0;              // q - m, when q was found
    Rational error_coefficient;          // C_q, when q was found
    Rational error_constant;             // C_q / (B[0] + ... + B[k]), when FOUND
    double error_constant_decimal = 0.0; // the nearest double of the error constant
    // An index no non-zero coefficient set can pass: q <= bound always (see
    // docs/analyse-math.md). So a set that is not all zero always has a q.
    std::int64_t bound = 0;
};

ExactOrder exact_order(int k, int m, std::span<const Rational> coefficients);

// --- Order of a method -----------------------------------------------------

struct MethodOrder {
    // Every algorithm has a q and an error constant (ordimet counts a zero
    // sum of B as not computable too); else there is no method order.
    bool computable = false;
    std::int64_t error_index = -1; // the smallest q of the algorithms
    std::int64_t order = 0;        // error_index - m, plus 1 after a raise
    // The consistency raise of a cyclic method: computed only where ordimet
    // computes it (cyclic, m = 1, method order q - m >= 1).
    bool raise_computed = false;
    int dimension = 0;   // d = max(k, c) of the augmented matrix
    int rank = 0;        // exact rank of the augmented matrix
    bool raised = false; // rank == d - 1: the order is one higher
    // d above MAX_RAISE_DIMENSION: the raise is not computed.
    bool raise_refused = false;
};

// The largest augmented matrix ordimet builds (its limit on max(k, c)); the
// time of an exact rank of that size is in docs/analyse-math.md.
inline constexpr int MAX_RAISE_DIMENSION = 1000;

// orders[a] is exact_order of algorithms[a]; all of step count k.
MethodOrder method_order(int k, int m, bool cyclic, std::span<const ExactOrder> orders,
                         std::span<const Coefficients> algorithms);

} // namespace ordimet::analyse

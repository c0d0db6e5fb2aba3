#pragma once

// Exact analyses of linear multistep methods for y^(m) = f(x, y): step
// reduction, exact error coefficients and order, the characteristic
// polynomials, the certified root condition, the zero-stability of a cycle
// of algorithms and the order of a composite or cyclic method.
//
// Every algorithm is given by its 2k + 2 coefficients, A[0..k] then B[0..k],
// as exact rationals. Nothing here prints; every result is a plain record,
// and work beyond the limits below is refused with a reason, never started.

#include "analyse/rational.hpp"

#include <cstdint>
#include <span>
#include <vector>

namespace ordimet::analyse {

// The coefficients of one algorithm: A[0..k] then B[0..k].
using Coefficients = std::vector<Rational>;

// The largest step count analysed exactly. Beyond it the order scan (powers
// j^i with thousands of digits), the factorisation of rho and the root
// isolation would take seconds; the analyses answer REFUSED at once.
inline constexpr int MAX_EXACT_STEP = 64;

// The exact analyses work on an algorithm's coefficients brought to one
// common denominator D, as the integers D A[j] and D B[j]; their cost grows
// with the count and the width of those integers. The cleared size of a
// list of rationals: their count times (bits of D plus bits of the widest
// numerator), an upper bound of the bits of all D x[j]. Computed with an
// early stop: any result above `limit` means "beyond the limit".
long cleared_size(std::span<const Rational> values, long limit);

// Beyond this cleared size the analyses of an algorithm answer REFUSED.
// Coefficients of papers (fractions) or written with 17 digits stay far
// below; at k = 64, fractions of about 74 digits over unrelated
// denominators are the widest within it (timings in docs/analyse-math.md).
inline constexpr long MAX_EXACT_BITS = 1L << 22;

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

// The nearest double of an exact rational (ties to even); +-infinity beyond
// the range of doubles. Below the normal range (under 2^-1022) the quotient
// is rounded twice, to 53 bits and then to the subnormal, and may be one
// unit of the last place off.
double nearest_double(const Rational& value);

// --- Characteristic polynomials --------------------------------------------

// rho(z) = sum A[j] z^j, sigma(z) = sum B[j] z^j; coefficient j at index j,
// trailing zeros removed (an empty vector is the zero polynomial).
struct CharacteristicPolynomials {
    std::vector<Rational> rho;
    std::vector<Rational> sigma;
    // rho and sigma, both non-zero, share a factor of degree >= 1.
    bool reducible = false;
    std::vector<Rational> common_factor; // monic gcd when reducible, else empty
    // k above MAX_EXACT_STEP or the set beyond MAX_EXACT_BITS: the
    // polynomials are given, reducible is not decided.
    bool refused = false;
};

CharacteristicPolynomials characteristic_polynomials(int k, std::span<const Rational> coefficients);

// --- Certified root location -----------------------------------------------

enum class Location { INSIDE, ON, OUTSIDE };

struct Root {
    double re = 0.0; // decimal value for display (nearest double of the midpoint)
    double im = 0.0;
    int multiplicity = 1;
    // The location is certified: by exact algebra or by an enclosure that
    // lies strictly on one side of the unit circle.
    Location location = Location::INSIDE;
};

enum class RootStatus {
    DECIDED,
    ZERO_POLYNOMIAL, // rho is identically 0: no recurrence, not zero-stable
    REFUSED,         // k above MAX_EXACT_STEP, or rho beyond MAX_EXACT_BITS
};

struct RootCondition {
    RootStatus status = RootStatus::DECIDED;
    // Every distinct root once, with its multiplicity: real roots first in
    // ascending order, then complex pairs (upper half-plane first).
    std::vector<Root> roots;
    // rho has degree below k (A[k] = 0): the recurrence does not determine
    // y_{n+k}; the roots are those of rho's actual degree.
    bool degree_below_step = false;
    // Every root |z| <= 1, every root on the circle of multiplicity <= m.
    bool zero_stable = false;
    // Zero-stable, z = 1 a root of multiplicity exactly m, and no other
    // root on the circle.
    bool strongly_stable = false;
    // Zero-stable with a root on the circle other than z = 1. Neither flag
    // is set for a zero-stable rho whose only root on the circle is not 1
    // of multiplicity m (say every root inside).
    bool weakly_stable = false;
};

// The root condition for y^(m) = f of the polynomial rho (coefficient j at
// index j), of a method of step count k.
RootCondition root_condition(int k, int m, std::span<const Rational> rho);

// --- Zero-stability of a cycle (m = 1) -------------------------------------

// The entries of the cycle's matrix grow with every algorithm, and its
// characteristic polynomial k times more: the cycle is analysed exactly
// only while k / (k + 1) times the sum over the algorithms of the cleared
// size of their A coefficients stays within this. Two algorithms of step 8
// with 17-digit decimals use about 2000.
inline constexpr long MAX_CYCLE_BITS = 1L << 14;

struct Eigenvalue {
    double re = 0.0;
    double im = 0.0;
    int multiplicity = 1;         // in the characteristic polynomial
    int minimal_multiplicity = 1; // in the minimal polynomial; 1 = semisimple
    Location location = Location::INSIDE;
};

enum class CycleStatus {
    DECIDED,
    NO_LEADING_COEFFICIENT, // some algorithm has A[k] = 0: no companion matrix
    REFUSED,                // k above MAX_EXACT_STEP, or beyond MAX_CYCLE_BITS
};

struct CycleStability {
    CycleStatus status = CycleStatus::DECIDED;
    int missing_algorithm = -1; // first algorithm (from 0) with A[k] = 0
    // Eigenvalues of M = M_c ... M_1 (algorithm 1 applied first), each
    // distinct value once, ordered as the roots of RootCondition.
    std::vector<Eigenvalue> eigenvalues;
    // Every |lambda| <= 1, and every lambda on the circle semisimple.
    bool zero_stable = false;
};

// The algorithms, in the order they are applied, all of step count k.
CycleStability cycle_stability(int k, std::span<const Coefficients> algorithms);

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

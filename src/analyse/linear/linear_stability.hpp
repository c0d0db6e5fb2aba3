#pragma once

// Linear stability of one algorithm on the test equations:
// - m = 1, y' = lambda y, z = h lambda: the stability polynomial
//   pi(zeta; z) = rho(zeta) - z sigma(zeta) and its region S, the z for which
//   every root has modulus at most 1 and those of modulus 1 are simple;
// - m = 2, y'' = -omega^2 y, H = h omega: pi(zeta; H^2) = rho(zeta) +
//   H^2 sigma(zeta), its interval of periodicity, its interval of absolute
//   stability and its phase lag.
//
// Interval ends are decided by exact algebra: the parameters where a root
// meets the unit circle, two roots meet or the degree drops are the real
// roots of integer polynomials; between them the configuration of the roots
// is fixed and is decided exactly at one rational point. Nothing here prints.

#include "analyse/exact/rational.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ordimet::analyse {

// The region analyses are made only within these limits, and answer REFUSED
// beyond them at once: the discriminant and the resultant in the parameter
// have degree about 2k and coefficients k times as wide as the algorithm's,
// and their cost grows with both. The step count, and k times the cleared
// size of rho and sigma together (see cleared_size): 17-digit decimals at
// k = 16 and fractions over unrelated 6-digit denominators at k = 8 are
// within (their timings are in docs/performance.md).
inline constexpr int MAX_REGION_STEP = 16;
inline constexpr long MAX_REGION_WORK = 1L << 16;

enum class RegionStatus {
    DECIDED,
    // rho is the zero polynomial; for m = 2 also: rho has no double root 1
    // or sigma(1) = 0, so that there are no principal roots.
    NOT_APPLICABLE,
    REFUSED, // step above MAX_REGION_STEP or coefficients beyond the limits
};

// The right end of an interval (0, end) of the parameter x > 0 (x = -z on
// the negative real axis for m = 1, x = H^2 for m = 2).
struct IntervalEnd {
    enum class Kind { NONE, FINITE, INFINITE };
    Kind kind = Kind::NONE;
    double value = 0.0; // FINITE: the end, correctly rounded to 6 significant digits
    std::string exact;  // FINITE and rational: "p/q"; empty for an irrational end
};

// m = 1.
struct AbsoluteStability {
    RegionStatus status = RegionStatus::NOT_APPLICABLE;
    // The largest (-a, 0) inside S: a.
    IntervalEnd real_interval;
    // S contains the open left half-plane.
    bool a_stable = false;
    // The largest alpha in [0, 90] such that the open wedge
    // |arg(-z)| < alpha lies in S, in degrees; 0 when there is no such
    // wedge.
    double alpha_degrees = 0.0;
};

// m = 2.
struct Periodicity {
    RegionStatus status = RegionStatus::NOT_APPLICABLE;
    // (0, Hp^2): the principal roots e^{+-i theta} on the circle and every
    // other root of modulus at most 1, simple where it is 1.
    IntervalEnd periodicity;
    // (0, Ha^2): every root of modulus below 1.
    IntervalEnd absolute;
    bool p_stable = false; // periodicity is (0, infinity)
    // Re theta(H) - H = c H^(q + 1) + O(H^(q + 2)) for the principal root
    // e^{i theta(H)}: q and c. Not known when the algorithm isn't consistent
    // (rho''(1) != 2 sigma(1)) or every term up to MAX_PHASE_LAG_ORDER
    // vanishes.
    bool phase_lag_consistent = false; // rho''(1) = 2 sigma(1)
    bool phase_lag_known = false;
    int phase_lag_order = 0;
    Rational phase_lag_constant;
    double phase_lag_decimal = 0.0;
};

inline constexpr int MAX_PHASE_LAG_ORDER = 64;

// The phase lag alone, without the intervals: sets phase_lag_known and,
// when known, phase_lag_order, phase_lag_constant and phase_lag_decimal of
// `out`. Only for a consistent method with principal roots: rho(1) =
// rho'(1) = 0 and rho''(1) = 2 sigma(1) != 0 (periodicity checks this
// before it calls it; a search whose methods have it by construction calls
// it alone).
void phase_lag(std::span<const Rational> rho, std::span<const Rational> sigma, Periodicity& out);

// rho and sigma: coefficient j at index j, A[0..k] and B[0..k].
AbsoluteStability absolute_stability(std::span<const Rational> rho,
                                     std::span<const Rational> sigma);
Periodicity periodicity(std::span<const Rational> rho, std::span<const Rational> sigma);

} // namespace ordimet::analyse

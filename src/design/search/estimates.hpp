#pragma once

// Linear stability estimated in doubles, for the screening only: nothing
// estimated here is ever printed or drops a candidate by itself. What the
// estimates find wrong is handed on as a point to test exactly (see
// witnesses.hpp).

#include <complex>
#include <span>
#include <vector>

namespace ordimet::design {

using Complex = std::complex<double>;

struct RootsWorkspace {
    std::vector<double> poly;
    std::vector<Complex> roots;
    std::vector<double> product;
};

// The largest modulus of the roots of the polynomial (coefficient j at
// index j); zero roots and, at the top, a leading coefficient that vanishes
// or is negligible (a root at infinity: +infinity) are handled; +infinity
// also when the roots were not found.
double largest_modulus(std::span<const double> poly, RootsWorkspace& work);

// The same for rho + x sigma at a real x, and for rho - z sigma at a
// complex z through the real polynomial (rho - z sigma)(rho - conj(z)
// sigma), whose roots are those of rho - z sigma and their conjugates.
double largest_modulus_at(std::span<const double> rho, std::span<const double> sigma, double x,
                          RootsWorkspace& work);
double largest_modulus_at(std::span<const double> rho, std::span<const double> sigma, Complex z,
                          RootsWorkspace& work);

// A root's modulus beyond this much above 1 counts as outside in the
// estimates, and is worth an exact test.
inline constexpr double CLEARLY_OUTSIDE = 1e-7;

// m = 1, from the boundary locus z(theta) = rho(e^{i theta}) /
// sigma(e^{i theta}) sampled over [0, pi] and roots at a few points.
struct LocusEstimate {
    double real_end = 0.0; // a of (-a, 0); infinity for the whole axis
    double alpha = 0.0;    // degrees
    bool a_stable = false;
    // Points z of the left half-plane where a root was seen clearly
    // outside the circle: the first on the negative real axis, then the
    // first off it.
    std::vector<Complex> suspects;
};

LocusEstimate estimate_locus(std::span<const double> rho, std::span<const double> sigma,
                             bool want_suspects, RootsWorkspace& work);

// m = 2: the end of (0, end) on which every root of rho + x sigma lies in
// the closed disk, by x sampled from 2^-10 to 2^20 and bisection at the
// first where a root is clearly outside (`precise`), or by x sampled once
// an octave where only whether the end is finite counts; then, within it,
// two roots on the circle for periodicity, every root clearly inside for
// absolute stability (or no interval).
enum class IntervalKind { PERIODICITY, ABSOLUTE };

struct IntervalEstimate {
    double end = 0.0; // infinity when no sample failed
    // An x > 0 where a root was seen clearly outside, or 0.
    double suspect = 0.0;
};

IntervalEstimate estimate_interval(std::span<const double> rho, std::span<const double> sigma,
                                   IntervalKind kind, bool precise, RootsWorkspace& work);

} // namespace ordimet::design

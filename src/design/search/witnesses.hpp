#pragma once

// Exact tests of the points where the estimates saw a root outside the unit
// circle: such a root, decided exactly, puts the point outside the region
// of absolute stability (m = 1) or outside the interval of periodicity
// (m = 2). The suspect point is first rounded to a short binary fraction,
// which is then tested exactly.

#include "analyse/exact/rational.hpp"

#include <complex>
#include <span>

namespace ordimet::design {

using analyse::Rational;

// rho + x sigma at x > 0 (for m = 1 the point z = -x) has a root outside
// the closed unit disk or a multiple one on the circle: decided by the root
// condition of the analyses at a rational x.
bool certainly_outside_at(std::span<const Rational> rho, std::span<const Rational> sigma, double x);

// rho - z sigma at z = a + bi, b != 0, has a root outside the closed unit
// disk: decided by the root condition of the real polynomial rho^2 - 2a rho
// sigma + (a^2 + b^2) sigma^2, whose roots are those of rho - z sigma and
// their conjugates.
bool certainly_outside_at(std::span<const Rational> rho, std::span<const Rational> sigma,
                          std::complex<double> z);

} // namespace ordimet::design

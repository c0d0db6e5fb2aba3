#pragma once

// The scan over x > 0 of the family P(zeta, x) = rho(zeta) + x sigma(zeta):
// its breakpoints, where the configuration of the roots against the unit
// circle may change, and the largest interval (0, end) on which a property
// of the roots holds.

#include "analyse/linear/algebra.hpp"
#include "analyse/linear/linear_stability.hpp"
#include "analyse/linear/real_roots.hpp"

#include <deque>
#include <span>
#include <vector>

namespace ordimet::analyse {

struct Configuration {
    bool decided = false;
    bool closed = false; // every root in the closed disk, those on the circle simple
    bool inside = false; // every root inside the circle
};

// The roots of P(., x) at a rational x, certified.
Configuration at_rational(std::span<const Rational> rho, std::span<const Rational> sigma,
                          const Rational& x);

struct Scan {
    IntegerPair pair;
    // Coprime squarefree polynomials in x whose positive roots are the
    // breakpoints, in ascending order.
    std::deque<FmpzPoly> parts;
    std::vector<RealRoot> breakpoints;
    // The principal roots (those at 1 for x = 0) belong to G.
    bool principal_self_reciprocal = false;
    // What tells most breakpoints apart without a gcd over a number field:
    // disc(Q), Res(h, h*) and disc(G), each 1 when its polynomial in zeta
    // has too low a degree to have multiple or crossing roots, and whether
    // P has a repeated factor or G is more than a constant.
    FmpzPoly discriminant;
    FmpzPoly crossing;
    FmpzPoly self_reciprocal_discriminant; // disc(G), when G is not constant
    bool repeated_factor = false;
    bool self_reciprocal_part = false;
};

// The breakpoints of P for x > 0, and what decides them.
bool find_breakpoints(std::span<const Rational> rho, std::span<const Rational> sigma, Scan& scan);

enum class Property { CLOSED, INSIDE };

bool holds(const Configuration& configuration, Property property);

// The largest (0, end) on which the property holds at every x.
IntervalEnd property_interval(const Scan& scan, std::span<const Rational> rho,
                              std::span<const Rational> sigma, Property property,
                              std::vector<Configuration>& gaps, bool& decided);

// Whether rho and sigma are within MAX_REGION_STEP and MAX_REGION_WORK.
bool within_limits(std::span<const Rational> rho, std::span<const Rational> sigma);

bool is_zero_polynomial(std::span<const Rational> values);

} // namespace ordimet::analyse

#pragma once

// The characteristic polynomials rho and sigma of an algorithm, and the
// certified location of the roots of rho with respect to the unit circle:
// the root condition (zero-stability).

#include "analyse/exact/coefficients.hpp"

#include <span>
#include <vector>

namespace ordimet::analyse {

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

} // namespace ordimet::analyse

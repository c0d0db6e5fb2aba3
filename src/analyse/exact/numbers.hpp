#pragma once

// Small numeric helpers every room of the analyses shares: the one index
// conversion, the one correctly rounding exact-to-double and the one Horner
// evaluation of a polynomial with double coefficients.

#include "analyse/exact/rational.hpp"

#include <complex>
#include <cstddef>
#include <flint/fmpz.h>
#include <span>

namespace ordimet::analyse {

// A FLINT length or position (a signed long) as a container index; the
// callers know it is not negative.
inline std::size_t as_index(long i) {
    return static_cast<std::size_t>(i);
}

// The double nearest to numerator / denominator (ties to even), correctly
// rounded also below the normal range; +-infinity beyond the largest double.
// The denominator is positive.
double nearest_double(const fmpz_t numerator, const fmpz_t denominator);

// The same for a rational.
double nearest_double(const Rational& value);

// The exact rational of a finite double.
Rational exact_rational(double value);

// sum_j c[j] z^j by Horner's rule.
std::complex<double> evaluate(std::span<const double> c, std::complex<double> z);

} // namespace ordimet::analyse

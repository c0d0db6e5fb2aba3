#pragma once

// The exact readings of one number of a method file, as the reader takes it
// apart: a decimal as written and as the simplest fraction it may stand for,
// or a fraction p/q; with the double ordimet reads for the same text.

#include "analyse/reading/reading.hpp"

namespace ordimet::analyse {

// Result codes of the exact reading beyond ordimet's LOAD_* codes, which the
// reader hands on as its own.
inline constexpr int LOAD_ZERO_DENOMINATOR = -7;    // a fraction p/0
inline constexpr int LOAD_BEYOND_EXACT_LIMITS = -8; // a number beyond the limits

// The readings of a decimal whose double ordimet reads as `value`.
int read_decimal(const DecimalNumber& number, double value, CoefficientReading& reading);

// The reading of a fraction and its nearest double.
int read_fraction(const DecimalNumber& numerator, const DecimalNumber& denominator,
                  CoefficientReading& reading);

} // namespace ordimet::analyse

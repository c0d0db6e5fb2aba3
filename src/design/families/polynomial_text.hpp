#pragma once

// Prescribed polynomials as the command line gives them: their coefficients,
// or their roots multiplied out, exactly.
//
// A number is written as in a method file that ordimet-analyse reads: an
// integer, a decimal (optional sign, digits with or without a point, an
// optional exponent e or E) or a fraction p/q (optional sign, digits, '/',
// digits, nothing between them). A decimal is taken exactly as written: a
// polynomial given on the command line has no reason to stand for fractions
// it only approximates.

#include "analyse/exact/rational.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace ordimet::design {

using analyse::Rational;

// A number written longer than this, or with an exponent beyond +-400, is
// refused: such numbers would make exact arithmetic slow for no method
// anyone writes.
inline constexpr std::size_t MAX_NUMBER_LENGTH = 200;
inline constexpr long MAX_DECIMAL_EXPONENT = 400;

// One number; false when the text is none (or beyond the limits above).
bool parse_number(std::string_view text, Rational& value);

// The coefficients c0 c1 ... of a polynomial, separated by white space.
// False when one is no number, with that text in `bad`; an empty list is
// read as no coefficient at all.
bool parse_coefficients(std::string_view text, std::vector<Rational>& coefficients,
                        std::string& bad);

// The monic polynomial with the given roots, its coefficient j at index j:
// each root a number r (the factor z - r) or a pair "(re,mod2)" (blanks
// allowed inside), the complex pair of real part re and modulus squared mod2
// (the factor z^2 - 2 re z + mod2), which needs re^2 < mod2. False when a
// root is unreadable, with its text in `bad`; no root gives the polynomial 1.
bool parse_roots(std::string_view text, std::vector<Rational>& coefficients, std::string& bad);

} // namespace ordimet::design

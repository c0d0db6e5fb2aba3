#pragma once

// The words of the search's command line made into values: rationals,
// the range "LO,HI" and the coefficient names of --zero.

#include "analyse/exact/rational.hpp"

#include <string>
#include <vector>

namespace ordimet::design {

using analyse::Rational;

// An integer, a fraction "p/q" (q > 0) or a decimal "d.ddd", with an
// optional sign, exactly; false for anything else.
bool parse_rational(const std::string& text, Rational& value);

// "LO,HI": two rationals.
bool parse_range(const std::string& text, Rational& low, Rational& high);

// "A3,B0,B[8]": coefficient names of a method of step count k, as positions
// (A[j] at j, B[j] at k + 1 + j); `bad` gets the first name that isn't one.
bool parse_coefficient_names(const std::string& text, int k, std::vector<int>& positions,
                             std::string& bad);

} // namespace ordimet::design

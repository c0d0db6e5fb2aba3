#pragma once

// Certified results as the JSON reports write them (ordimet-analyse's and
// ordimet-design search's): the digits the text reports print, and no more.

#include "analyse/linear/linear_stability.hpp"

#include <nlohmann/json.hpp>

namespace ordimet::analyse {

// A value as the text report prints it, read back: interval ends and
// constants with 6 significant digits, angles with 2 decimals.
double significant(double value);
double two_decimals(double value);

// An interval end: its 6 significant digits, "inf" for no end, null for no
// interval; and its exact value, a fraction string when it is rational.
nlohmann::ordered_json end_value(const IntervalEnd& end);
nlohmann::ordered_json end_exact(const IntervalEnd& end);

} // namespace ordimet::analyse

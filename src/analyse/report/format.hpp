#pragma once

// How the reports and the pictures write numbers and polynomials.

#include "analyse/exact/rational.hpp"
#include "analyse/linear/linear_stability.hpp"

#include <span>
#include <string>

namespace ordimet::analyse {

// "p/q" in lowest terms, or "n" for an integer, into `text`, reusing its
// memory: numerator and denominator that fit a machine word (every
// coefficient of a usual method) without the allocations of FLINT's general
// conversion.
void rational_text(const Rational& value, std::string& text);
std::string rational_text(const Rational& value);

// Appends the polynomial with the given coefficients (ascending powers) in
// descending powers of z: "z^2 - 3/2 z + 1/2"; "0" for none.
void append_polynomial(std::span<const Rational> coefficients, std::string& out);

// A double with 17 significant digits, as "%.17g" writes it.
std::string decimal_text(double value);

// A double as "%g" writes it, the exponent without leading zeros ("1e-6").
std::string short_number(double value);

// An interval end as the reports and pictures show it: 6 significant digits,
// and before them the exact value when it is rational and short; "inf" for an
// interval without end, "" for none.
std::string interval_end_text(const IntervalEnd& end);

// A number of the convergence tables: "-" for an undefined one, "inf" beyond
// the doubles, otherwise "%.6e" (scientific) or "%.2f".
std::string table_number(double value, bool scientific);

} // namespace ordimet::analyse

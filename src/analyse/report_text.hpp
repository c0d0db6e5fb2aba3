#pragma once

// The text report of ordimet-analyse: Portuguese, plain ASCII, one section per
// algorithm, then the method.

#include "analyse/analysis.hpp"

#include <string>

namespace ordimet::analyse {

// Appends the report of one analysed method to `out`.
void write_text_report(const MethodAnalysis& method, std::string& out);

// Appends the polynomial with the given coefficients (ascending powers, exact
// "p/q" texts) in descending powers of z: "z^2 - 3/2 z + 1/2"; "0" for none.
void append_polynomial(std::span<const std::string> coefficients, std::string& out);

// A double with 17 significant digits, as "%.17g" writes it.
std::string decimal_text(double value);

} // namespace ordimet::analyse

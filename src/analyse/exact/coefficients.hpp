#pragma once

// An algorithm's coefficients as exact rationals, and the limits within which
// the exact analyses work on them. Every algorithm is given by its 2k + 2
// coefficients, A[0..k] then B[0..k].

#include "analyse/exact/rational.hpp"

#include <span>
#include <vector>

namespace ordimet::analyse {

// The coefficients of one algorithm: A[0..k] then B[0..k].
using Coefficients = std::vector<Rational>;

// The largest step count analysed exactly. Beyond it the order scan (powers
// j^i with thousands of digits), the factorisation of rho and the root
// isolation would take seconds; the analyses answer REFUSED at once.
inline constexpr int MAX_EXACT_STEP = 64;

// The exact analyses work on an algorithm's coefficients brought to one
// common denominator D, as the integers D A[j] and D B[j]; their cost grows
// with the count and the width of those integers. The cleared size of a
// list of rationals: their count times (bits of D plus bits of the widest
// numerator), an upper bound of the bits of all D x[j]. Computed with an
// early stop: any result above `limit` means "beyond the limit".
long cleared_size(std::span<const Rational> values, long limit);

// Beyond this cleared size the analyses of an algorithm answer REFUSED.
// Coefficients of papers (fractions) or written with 17 digits stay far
// below; at k = 64, fractions of about 74 digits over unrelated
// denominators are the widest within it (timings in docs/performance.md).
inline constexpr long MAX_EXACT_BITS = 1L << 22;

} // namespace ordimet::analyse

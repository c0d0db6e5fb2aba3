#pragma once

// Methods of the highest order with some coefficients given: the free
// coefficients solved exactly from the order conditions C_0 = C_1 = ... taken
// in turn for as long as they can all be met. Solving sigma for a given rho,
// rho for a given sigma, or any other choice of free coefficients (a
// backward differentiation formula frees rho but A[k] and sigma's B[k]). A
// symmetric polynomial keeps coefficient j equal to coefficient k - j.

#include "analyse/exact/coefficients.hpp"

#include <cstdint>
#include <span>
#include <vector>

namespace ordimet::analyse {

struct SolveShape {
    // Which of the 2k + 2 coefficients, A[0..k] then B[0..k], are free; the
    // others keep their given values.
    std::vector<bool> free;
    // The free coefficients of rho (of sigma) keep coefficient j equal to
    // coefficient k - j.
    bool symmetric_rho = false;
    bool symmetric_sigma = false;
};

struct SolvedMethod {
    // The conditions met determine every free coefficient.
    bool unique = false;
    // C_0 .. C_{conditions - 1} are 0 for every solution.
    std::int64_t conditions = 0;
    // A[0..k] then B[0..k], when unique.
    Coefficients coefficients;
};

// The weight of coefficient p of A[0..k], B[0..k] in the order condition
// C_i: j^i / i! for A[j], -j^(i-m) / (i-m)! for B[j] (0 below m).
void order_condition_weight(std::int64_t i, int m, int k, long p, Rational& out);

// `given` holds all 2k + 2 coefficients; those that are free are ignored.
SolvedMethod solve_highest_order(int k, int m, std::span<const Rational> given,
                                 const SolveShape& shape);

} // namespace ordimet::analyse

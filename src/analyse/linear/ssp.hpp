#pragma once

// The SSP coefficient (threshold factor) of a method for y' = f, exact.
// Written as y_{n+k} = sum_{j<k} alpha_j y_{n+j} + h sum_{j<=k} beta_j
// f_{n+j}, with alpha_j = -A[j] / A[k] and beta_j = B[j] / A[k], the
// method keeps any convex functional bound of forward Euler under the step
// size factor c = min over j < k with beta_j > 0 of alpha_j / beta_j, when
// every alpha_j and beta_j (beta_k included) is at least 0; c = 0 when one
// of them is negative.

#include "analyse/exact/rational.hpp"

#include <optional>
#include <span>

namespace ordimet::analyse {

// rho and sigma: coefficient j at index j (A[0..k] and B[0..k]); k is the
// degree of rho. No value (nullopt) when rho is 0 or of lower degree than
// sigma (the method doesn't give y_{n+k}), or when the coefficient is
// unbounded: every alpha_j and beta_j at least 0 and no beta_j > 0 with j <
// k (backward Euler).
std::optional<Rational> ssp_coefficient(std::span<const Rational> rho,
                                        std::span<const Rational> sigma);

} // namespace ordimet::analyse

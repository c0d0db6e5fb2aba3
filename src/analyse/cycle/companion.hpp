#pragma once

// The companion matrices of the algorithms of a cycle and their product.

#include "analyse/exact/coefficients.hpp"
#include "analyse/exact/flint_handles.hpp"

#include <span>

namespace ordimet::analyse {

// The companion matrix of an algorithm (k by k, A[k] not 0): it maps
// (y_n, ..., y_{n+k-1}) to (y_{n+1}, ..., y_{n+k}),
// y_{n+k} = -sum_{j<k} (A[j] / A[k]) y_{n+j}.
void companion_matrix(long k, const Coefficients& set, FmpqMatrix& companion);

// M_{last-1} ... M_{first}: the product of the companion matrices of the
// algorithms first .. last-1, the first one applied first.
void cycle_product(long k, std::span<const Coefficients> algorithms, long first, long last,
                   FmpqMatrix& result);

} // namespace ordimet::analyse

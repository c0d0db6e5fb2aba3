// The step reduction on exact coefficients: leading columns that are zero in
// every algorithm are removed.

#include "analyse/exact/numbers.hpp"
#include "analyse/order/order.hpp"

namespace ordimet::analyse {

int leading_zero_columns(int k, std::span<const Coefficients> algorithms) {
    int s = 0;
    while (s < k) {
        for (const Coefficients& set : algorithms) {
            if (!set[as_index(s)].is_zero() || !set[as_index(long{k} + 1 + s)].is_zero()) {
                return s;
            }
        }
        ++s;
    }
    return s;
}

Coefficients drop_leading_columns(int k, int s, std::span<const Rational> coefficients) {
    Coefficients reduced;
    reduced.reserve(2 * as_index(long{k} - s) + 2);
    for (long j = s; j <= k; ++j) {
        reduced.push_back(coefficients[as_index(j)]);
    }
    for (long j = s; j <= k; ++j) {
        reduced.push_back(coefficients[as_index(long{k} + 1 + j)]);
    }
    return reduced;
}

} // namespace ordimet::analyse

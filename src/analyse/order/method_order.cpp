// The order of a composite or cyclic method: the smallest order of its
// algorithms and, for a cyclic method, the consistency raise of the augmented
// matrix, decided with an exact rank.

#include "analyse/exact/flint_handles.hpp"
#include "analyse/exact/numbers.hpp"
#include "analyse/order/order.hpp"

#include <algorithm>

namespace ordimet::analyse {
namespace {

// The augmented matrix (d by d + 1, d = max(k, c)): one unknown per position
// of the cycle, tie rows making unknown i equal unknown i + c when k > c,
// and one row per algorithm with its A coefficients laid over the cycle; its
// right-hand value is the algorithm's C_q at the method's q (0 for an
// algorithm of a higher q).
void build_augmented_matrix(long k, std::int64_t q, std::span<const ExactOrder> orders,
                            std::span<const Coefficients> algorithms, FmpqMatrix& matrix) {
    const long c = static_cast<long>(algorithms.size());
    const long d = std::max<long>(k, c);
    const long t = d - c;
    const long u = d - k;
    for (long i = 0; i < t; ++i) {
        fmpq_one(matrix.at(i, i));
        fmpq_set_si(matrix.at(i, i + c), -1, 1);
    }
    for (long a = 0; a < c; ++a) {
        const ExactOrder& order = orders[as_index(a)];
        if (order.error_index == q) {
            fmpq_set(matrix.at(t + a, d), order.error_coefficient.get());
        }
        const Coefficients& set = algorithms[as_index(a)];
        const long i = t + a;
        for (long j = 0; j < d; ++j) {
            if (j <= i && k - i + j >= 0) {
                fmpq_set(matrix.at(i, j), set[as_index(k - i + j)].get());
            }
            if (j >= i && k - i + j - t >= d) {
                fmpq_add(matrix.at(i, j), matrix.at(i, j), set[as_index(j - i - u + t)].get());
            }
        }
    }
}

// The exact rank of the matrix: each row times the least common denominator
// of its entries gives the same rank, found by FLINT's fraction-free
// elimination over the integers.
long exact_rank(long d, FmpqMatrix& matrix) {
    FmpzMatrix integer(d, d + 1);
    FmpzVector row_denominators(d);
    fmpq_mat_get_fmpz_mat_rowwise(integer.get(), row_denominators.get(), matrix.get());
    return fmpz_mat_rank(integer.get());
}

} // namespace

MethodOrder method_order(int k, int m, bool cyclic, std::span<const ExactOrder> orders,
                         std::span<const Coefficients> algorithms) {
    MethodOrder result;
    for (const ExactOrder& order : orders) {
        if (order.outcome != OrderOutcome::FOUND) {
            return result;
        }
        if (result.error_index < 0 || order.error_index < result.error_index) {
            result.error_index = order.error_index;
        }
    }
    if (orders.empty()) {
        return result;
    }
    result.computable = true;
    const std::int64_t q = result.error_index;
    result.order = q - m;
    if (!cyclic || m != 1 || q - m <= 0 || k < 1) {
        return result;
    }
    // The order is one higher when the rank is d - 1.
    const long d = std::max<long>(k, static_cast<long>(algorithms.size()));
    if (d > MAX_RAISE_DIMENSION) {
        result.raise_refused = true;
        return result;
    }
    FmpqMatrix matrix(d, d + 1);
    build_augmented_matrix(k, q, orders, algorithms, matrix);
    result.raise_computed = true;
    result.dimension = static_cast<int>(d);
    result.rank = static_cast<int>(exact_rank(d, matrix));
    result.raised = result.rank == d - 1;
    if (result.raised) {
        result.order += 1;
    }
    return result;
}

} // namespace ordimet::analyse

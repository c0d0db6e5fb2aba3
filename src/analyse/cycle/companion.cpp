#include "analyse/cycle/companion.hpp"

#include "analyse/exact/numbers.hpp"

namespace ordimet::analyse {

// The companion matrix of an algorithm: it maps (y_n, ..., y_{n+k-1}) to
// (y_{n+1}, ..., y_{n+k}), y_{n+k} = -sum_{j<k} (A[j] / A[k]) y_{n+j}.
void companion_matrix(long k, const Coefficients& set, FmpqMatrix& companion) {
    fmpq_mat_zero(companion.get());
    for (long i = 0; i + 1 < k; ++i) {
        fmpq_one(companion.at(i, i + 1));
    }
    for (long j = 0; j < k; ++j) {
        fmpq_div(companion.at(k - 1, j), set[as_index(j)].get(), set[as_index(k)].get());
        fmpq_neg(companion.at(k - 1, j), companion.at(k - 1, j));
    }
}

// M_{last-1} ... M_{first}: the product of the companion matrices of the
// algorithms first .. last-1, the first one applied first. Multiplied as a
// balanced tree, so that the entries, which grow with every factor, meet
// in products of equal size: far cheaper than one factor at a time.
void cycle_product(long k, std::span<const Coefficients> algorithms, long first, long last,
                   FmpqMatrix& result) {
    if (last - first == 1) {
        companion_matrix(k, algorithms[as_index(first)], result);
        return;
    }
    const long middle = first + (last - first) / 2;
    FmpqMatrix earlier(k, k);
    FmpqMatrix later(k, k);
    cycle_product(k, algorithms, first, middle, earlier);
    cycle_product(k, algorithms, middle, last, later);
    fmpq_mat_mul(result.get(), later.get(), earlier.get());
}

} // namespace ordimet::analyse

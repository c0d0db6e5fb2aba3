// The order of the global error of a cyclic method, from the part of its
// per-cycle local error in the eigenspace of the cycle's matrix for 1.

#include "analyse/cycle/companion.hpp"
#include "analyse/cycle/cycle.hpp"
#include "analyse/exact/numbers.hpp"

#include <algorithm>

namespace ordimet::analyse {
namespace {

// tau = sum_a M_c ... M_{a+1} e_k C_{a,q} / A_a[k], found as each algorithm is
// applied: tau <- M_a tau + e_k C_{a,q} / A_a[k]; and the cycle's matrix
// M = M_c ... M_1 beside it.
void carried_local_errors(long k, std::span<const Coefficients> algorithms,
                          std::span<const ExactOrder> orders, std::int64_t q, FmpqMatrix& tau,
                          FmpqMatrix& cycle) {
    fmpq_mat_one(cycle.get());
    FmpqMatrix companion(k, k);
    FmpqMatrix product(k, k);
    FmpqMatrix carried(k, 1);
    Rational error;
    for (std::size_t a = 0; a < algorithms.size(); ++a) {
        companion_matrix(k, algorithms[a], companion);
        fmpq_mat_mul(carried.get(), companion.get(), tau.get());
        fmpq_mat_swap(carried.get(), tau.get());
        if (orders[a].error_index == q) {
            fmpq_div(error.get(), orders[a].error_coefficient.get(),
                     algorithms[a][as_index(k)].get());
            fmpq_add(tau.at(k - 1, 0), tau.at(k - 1, 0), error.get());
        }
        fmpq_mat_mul(product.get(), companion.get(), cycle.get());
        fmpq_mat_swap(product.get(), cycle.get());
    }
}

// Whether w tau = 0 for every w with w M = w: the left null space of
// M - I is the null space of its transpose, found over the integers.
bool vanishes_on_eigenspace_of_one(long k, FmpqMatrix& cycle, FmpqMatrix& tau) {
    FmpqMatrix transposed(k, k);
    fmpq_mat_transpose(transposed.get(), cycle.get());
    for (long i = 0; i < k; ++i) {
        fmpq_sub_si(transposed.at(i, i), transposed.at(i, i), 1);
    }
    FmpzMatrix integer(k, k);
    Fmpz denominator;
    fmpq_mat_get_fmpz_mat_matwise(integer.get(), denominator.get(), transposed.get());
    FmpzMatrix basis(k, k);
    const long dimension = fmpz_mat_nullspace(basis.get(), integer.get());
    Rational sum;
    Rational term;
    for (long column = 0; column < dimension; ++column) {
        fmpq_zero(sum.get());
        for (long i = 0; i < k; ++i) {
            fmpq_mul_fmpz(term.get(), tau.at(i, 0), fmpz_mat_entry(basis.get(), i, column));
            fmpq_add(sum.get(), sum.get(), term.get());
        }
        if (!sum.is_zero()) {
            return false;
        }
    }
    return true;
}

} // namespace

CycleOrder cycle_order(int k, std::span<const Coefficients> algorithms,
                       std::span<const ExactOrder> orders) {
    std::int64_t q = orders.front().error_index;
    for (const ExactOrder& order : orders) {
        q = std::min(q, order.error_index);
    }
    FmpqMatrix tau(k, 1);
    FmpqMatrix cycle(k, k);
    carried_local_errors(k, algorithms, orders, q, tau, cycle);
    CycleOrder result;
    result.raised = vanishes_on_eigenspace_of_one(k, cycle, tau);
    result.order = q - 1 + (result.raised ? 1 : 0);
    return result;
}

} // namespace ordimet::analyse

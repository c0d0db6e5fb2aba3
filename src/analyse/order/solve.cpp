// The order conditions as a linear system in the free coefficients, solved
// one condition at a time by exact elimination.

#include "analyse/order/solve.hpp"

#include "analyse/exact/flint_handles.hpp"
#include "analyse/exact/numbers.hpp"

namespace ordimet::analyse {

void order_condition_weight(std::int64_t i, int m, int k, long p, Rational& out) {
    const bool of_rho = p <= k;
    const long j = of_rho ? p : p - k - 1;
    const std::int64_t power = of_rho ? i : i - m;
    if (power < 0) {
        fmpq_zero(out.get());
        return;
    }
    Fmpz numerator;
    Fmpz denominator;
    fmpz_set_si(numerator.get(), j);
    fmpz_pow_ui(numerator.get(), numerator.get(), static_cast<ulong>(power));
    fmpz_fac_ui(denominator.get(), static_cast<ulong>(power));
    fmpq_set_fmpz_frac(out.get(), numerator.get(), denominator.get());
    if (!of_rho) {
        fmpq_neg(out.get(), out.get());
    }
}

namespace {

// The unknowns: each free coefficient, or each free pair j, k - j of a
// symmetric polynomial; coefficient p belongs to unknown unknown_of[p] (-1
// when it is given).
std::vector<long> unknowns_of(int k, const SolveShape& shape, long& count) {
    const long n = long{k} + 1;
    std::vector<long> unknown_of(as_index(2 * n), -1);
    count = 0;
    for (long p = 0; p < 2 * n; ++p) {
        const long base = p < n ? 0 : n;
        const bool symmetric = p < n ? shape.symmetric_rho : shape.symmetric_sigma;
        const long mirror = symmetric ? base + std::min(p - base, k - (p - base)) : p;
        if (!shape.free[as_index(p)] || !shape.free[as_index(mirror)]) {
            continue;
        }
        unknown_of[as_index(p)] = mirror == p ? count++ : unknown_of[as_index(mirror)];
    }
    return unknown_of;
}

// Condition i as a row: the weights of the unknowns, then minus the given
// coefficients' part (the right-hand side).
void condition_row(std::int64_t i, int m, int k, std::span<const Rational> given,
                   const std::vector<long>& unknown_of, long count, std::vector<Rational>& row) {
    row.assign(as_index(count) + 1, Rational());
    Rational w;
    for (long p = 0; p < static_cast<long>(unknown_of.size()); ++p) {
        order_condition_weight(i, m, k, p, w);
        if (unknown_of[as_index(p)] >= 0) {
            Rational& cell = row[as_index(unknown_of[as_index(p)])];
            fmpq_add(cell.get(), cell.get(), w.get());
        } else {
            fmpq_submul(row.back().get(), w.get(), given[as_index(p)].get());
        }
    }
}

// Row echelon form kept one row at a time: each pivot row has a leading 1
// in its own column and 0 in the other pivots' columns.
struct Echelon {
    std::vector<std::vector<Rational>> rows;
    std::vector<long> pivots;
};

// Reduces the row by the pivot rows and keeps it; false when it is 0 = c
// with c != 0, a condition that can't be met with the ones before.
bool add_row(std::vector<Rational>& row, Echelon& echelon) {
    Rational factor;
    for (std::size_t r = 0; r < echelon.rows.size(); ++r) {
        fmpq_set(factor.get(), row[as_index(echelon.pivots[r])].get());
        for (std::size_t c = 0; c < row.size() && !factor.is_zero(); ++c) {
            fmpq_submul(row[c].get(), factor.get(), echelon.rows[r][c].get());
        }
    }
    long pivot = 0;
    while (as_index(pivot) + 1 < row.size() && row[as_index(pivot)].is_zero()) {
        ++pivot;
    }
    if (as_index(pivot) + 1 == row.size()) {
        return row.back().is_zero();
    }
    Rational inverse;
    fmpq_inv(inverse.get(), row[as_index(pivot)].get());
    for (Rational& cell : row) {
        fmpq_mul(cell.get(), cell.get(), inverse.get());
    }
    for (std::size_t r = 0; r < echelon.rows.size(); ++r) {
        fmpq_set(factor.get(), echelon.rows[r][as_index(pivot)].get());
        for (std::size_t c = 0; c < row.size() && !factor.is_zero(); ++c) {
            fmpq_submul(echelon.rows[r][c].get(), factor.get(), row[c].get());
        }
    }
    echelon.rows.push_back(std::move(row));
    echelon.pivots.push_back(pivot);
    return true;
}

// The coefficients: the given ones, and the free ones from the unique
// solution.
Coefficients assemble(std::span<const Rational> given, const std::vector<long>& unknown_of,
                      const Echelon& echelon) {
    std::vector<Rational> values(echelon.rows.size());
    for (std::size_t r = 0; r < echelon.rows.size(); ++r) {
        values[as_index(echelon.pivots[r])] = echelon.rows[r].back();
    }
    Coefficients result(given.begin(), given.end());
    for (std::size_t p = 0; p < result.size(); ++p) {
        if (unknown_of[p] >= 0) {
            result[p] = values[as_index(unknown_of[p])];
        }
    }
    return result;
}

} // namespace

SolvedMethod solve_highest_order(int k, int m, std::span<const Rational> given,
                                 const SolveShape& shape) {
    SolvedMethod result;
    long count = 0;
    const std::vector<long> unknown_of = unknowns_of(k, shape, count);
    // No order of a non-zero set passes (k + 1)(m + 1) - 1 (order.hpp).
    const std::int64_t bound = (std::int64_t{k} + 1) * (std::int64_t{m} + 1);
    Echelon echelon;
    std::vector<Rational> row;
    for (std::int64_t i = 0; i <= bound; ++i) {
        condition_row(i, m, k, given, unknown_of, count, row);
        if (!add_row(row, echelon)) {
            break;
        }
        result.conditions = i + 1;
    }
    result.unique = static_cast<long>(echelon.rows.size()) == count;
    if (result.unique) {
        result.coefficients = assemble(given, unknown_of, echelon);
    }
    return result;
}

} // namespace ordimet::analyse

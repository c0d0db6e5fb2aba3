// The zero-stability of a cycle: the eigenvalues of the product of its
// algorithms' companion matrices, located with certainty.

#include "analyse/cycle/companion.hpp"
#include "analyse/cycle/cycle.hpp"
#include "analyse/exact/numbers.hpp"
#include "analyse/roots/located.hpp"

namespace ordimet::analyse {
namespace {

// Replaces p(z) by p(d z) made primitive: its roots are those of p over d.
void scale_roots(fmpz_poly_struct* p, const fmpz_t d) {
    Fmpz power;
    fmpz_one(power.get());
    for (long i = 1; i < fmpz_poly_length(p); ++i) {
        fmpz_mul(power.get(), power.get(), d);
        fmpz_mul(p->coeffs + i, p->coeffs + i, power.get());
    }
    fmpz_poly_primitive_part(p, p);
}

} // namespace

CycleStability cycle_stability(int k, std::span<const Coefficients> algorithms) {
    CycleStability result;
    if (k > MAX_EXACT_STEP) {
        result.status = CycleStatus::REFUSED;
        return result;
    }
    for (std::size_t a = 0; a < algorithms.size(); ++a) {
        if (algorithms[a][as_index(k)].is_zero()) {
            result.status = CycleStatus::NO_LEADING_COEFFICIENT;
            result.missing_algorithm = static_cast<int>(a);
            return result;
        }
    }
    long size = 0;
    for (const Coefficients& set : algorithms) {
        const std::span<const Rational> a =
            std::span<const Rational>(set).subspan(0, as_index(long{k} + 1));
        size += k * cleared_size(a, (k + 1) * MAX_CYCLE_BITS) / (k + 1);
        if (size > MAX_CYCLE_BITS) {
            result.status = CycleStatus::REFUSED;
            return result;
        }
    }
    result.zero_stable = true;
    if (k < 1 || algorithms.empty()) {
        return result;
    }
    // The cycle's matrix: the product of the algorithms' companion
    // matrices, the first algorithm's rightmost.
    FmpqMatrix cycle(k, k);
    cycle_product(k, algorithms, 0, static_cast<long>(algorithms.size()), cycle);
    // M = P / D with P an integer matrix: the characteristic and minimal
    // polynomials of P come from FLINT's multimodular algorithms, far
    // faster than over the rationals; the eigenvalues of M are those of P
    // divided by D, the roots of p(D z).
    FmpzMatrix integer(k, k);
    Fmpz denominator;
    fmpq_mat_get_fmpz_mat_matwise(integer.get(), denominator.get(), cycle.get());
    FmpzPoly char_int;
    FmpzPoly min_int;
    fmpz_mat_charpoly(char_int.get(), integer.get());
    fmpz_mat_minpoly(min_int.get(), integer.get());
    scale_roots(char_int.get(), denominator.get());
    scale_roots(min_int.get(), denominator.get());
    std::vector<Located> located;
    if (!locate_roots(char_int.get(), min_int.get(), located)) {
        result.status = CycleStatus::REFUSED;
        result.zero_stable = false;
        return result;
    }
    for (const Located& root : located) {
        result.eigenvalues.push_back(
            {root.re, root.im, root.multiplicity, root.minimal_multiplicity, root.location});
        if (root.location == Location::OUTSIDE ||
            (root.location == Location::ON && root.minimal_multiplicity > 1)) {
            result.zero_stable = false;
        }
    }
    return result;
}

} // namespace ordimet::analyse

// The root condition of rho: every root in the closed unit disk, those on
// the circle of multiplicity at most m.

#include "analyse/exact/flint_handles.hpp"
#include "analyse/roots/located.hpp"

namespace ordimet::analyse {
namespace {

// The primitive integer polynomial with the roots of a rational one, with a
// positive leading coefficient.
void primitive_integer(fmpz_poly_struct* result, const fmpq_poly_struct* poly) {
    fmpq_poly_get_numerator(result, poly);
    fmpz_poly_primitive_part(result, result);
}

} // namespace

RootCondition root_condition(int k, int m, std::span<const Rational> rho) {
    RootCondition result;
    if (k > MAX_EXACT_STEP || cleared_size(rho, MAX_EXACT_BITS) > MAX_EXACT_BITS) {
        result.status = RootStatus::REFUSED;
        return result;
    }
    FmpqPoly rational;
    to_fmpq_poly(rational.get(), rho);
    if (fmpq_poly_is_zero(rational.get())) {
        result.status = RootStatus::ZERO_POLYNOMIAL;
        return result;
    }
    result.degree_below_step = fmpq_poly_degree(rational.get()) < k;
    FmpzPoly poly;
    primitive_integer(poly.get(), rational.get());
    std::vector<Located> located;
    if (!locate_roots(poly.get(), nullptr, located)) {
        result.status = RootStatus::REFUSED;
        return result;
    }
    result.zero_stable = true;
    bool other_on_circle = false;
    int one_multiplicity = 0;
    for (const Located& root : located) {
        result.roots.push_back({root.re, root.im, root.multiplicity, root.location});
        if (root.location == Location::OUTSIDE ||
            (root.location == Location::ON && root.multiplicity > m)) {
            result.zero_stable = false;
        }
        if (root.exactly_one) {
            one_multiplicity = root.multiplicity;
        } else if (root.location == Location::ON) {
            other_on_circle = true;
        }
    }
    // Strongly stable: the root 1, of multiplicity m, alone on the circle.
    // Weakly stable: another root on the circle. A zero-stable rho without
    // the root 1 of multiplicity m and nothing else on the circle (every
    // root inside, as for an inconsistent method) is neither.
    result.strongly_stable = result.zero_stable && one_multiplicity == m && !other_on_circle;
    result.weakly_stable = result.zero_stable && other_on_circle;
    return result;
}

} // namespace ordimet::analyse

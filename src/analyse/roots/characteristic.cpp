// The characteristic polynomials of an algorithm and their common factor.

#include "analyse/exact/flint_handles.hpp"
#include "analyse/exact/numbers.hpp"
#include "analyse/roots/roots.hpp"

#include <cstddef>

namespace ordimet::analyse {
namespace {

std::vector<Rational> from_fmpq_poly(const fmpq_poly_struct* poly) {
    std::vector<Rational> result(as_index(fmpq_poly_length(poly)));
    for (std::size_t j = 0; j < result.size(); ++j) {
        fmpq_poly_get_coeff_fmpq(result[j].get(), poly, static_cast<long>(j));
    }
    return result;
}

// The coefficients without the trailing zeros.
std::vector<Rational> trimmed(std::span<const Rational> coefficients) {
    std::size_t length = coefficients.size();
    while (length > 0 && coefficients[length - 1].is_zero()) {
        --length;
    }
    return {coefficients.begin(), coefficients.begin() + static_cast<std::ptrdiff_t>(length)};
}

} // namespace

CharacteristicPolynomials characteristic_polynomials(int k,
                                                     std::span<const Rational> coefficients) {
    CharacteristicPolynomials result;
    const std::size_t n = as_index(long{k} + 1);
    result.rho = trimmed(coefficients.subspan(0, n));
    result.sigma = trimmed(coefficients.subspan(n, n));
    if (k > MAX_EXACT_STEP || cleared_size(coefficients, MAX_EXACT_BITS) > MAX_EXACT_BITS) {
        result.refused = true;
        return result;
    }
    FmpqPoly rho;
    FmpqPoly sigma;
    to_fmpq_poly(rho.get(), result.rho);
    to_fmpq_poly(sigma.get(), result.sigma);
    if (fmpq_poly_is_zero(rho.get()) || fmpq_poly_is_zero(sigma.get())) {
        return result;
    }
    FmpqPoly common;
    fmpq_poly_gcd(common.get(), rho.get(), sigma.get());
    if (fmpq_poly_degree(common.get()) >= 1) {
        result.reducible = true;
        result.common_factor = from_fmpq_poly(common.get());
    }
    return result;
}

} // namespace ordimet::analyse

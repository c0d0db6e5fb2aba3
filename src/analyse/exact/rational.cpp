#include "analyse/exact/rational.hpp"

#include "analyse/exact/flint_handles.hpp"

namespace ordimet::analyse {

std::string Rational::text() const {
    char* s = fmpq_get_str(nullptr, 10, value_);
    std::string result(s);
    flint_free(s);
    return result;
}

// Over one common denominator at once: setting the coefficients one by one
// would bring the whole polynomial to a new denominator each time.
void to_fmpq_poly(fmpq_poly_struct* poly, std::span<const Rational> coefficients) {
    Fmpz common;
    fmpz_one(common.get());
    for (const Rational& value : coefficients) {
        fmpz_lcm(common.get(), common.get(), fmpq_denref(value.get()));
    }
    FmpzPoly numerators;
    Fmpz scaled;
    for (std::size_t j = 0; j < coefficients.size(); ++j) {
        const fmpq* value = coefficients[j].get();
        fmpz_divexact(scaled.get(), common.get(), fmpq_denref(value));
        fmpz_mul(scaled.get(), scaled.get(), fmpq_numref(value));
        fmpz_poly_set_coeff_fmpz(numerators.get(), static_cast<long>(j), scaled.get());
    }
    fmpq_poly_set_fmpz_poly(poly, numerators.get());
    fmpq_poly_scalar_div_fmpz(poly, poly, common.get());
}

} // namespace ordimet::analyse

#include "analyse/linear/algebra.hpp"

#include <algorithm>

namespace ordimet::analyse {

void to_integers(std::span<const Rational> rho, std::span<const Rational> sigma,
                 IntegerPair& pair) {
    FmpqPoly rational_rho;
    FmpqPoly rational_sigma;
    to_fmpq_poly(rational_rho.get(), rho);
    to_fmpq_poly(rational_sigma.get(), sigma);
    Fmpz common;
    fmpz_lcm(common.get(), fmpq_poly_denref(rational_rho.get()),
             fmpq_poly_denref(rational_sigma.get()));
    fmpq_poly_scalar_mul_fmpz(rational_rho.get(), rational_rho.get(), common.get());
    fmpq_poly_scalar_mul_fmpz(rational_sigma.get(), rational_sigma.get(), common.get());
    fmpq_poly_get_numerator(pair.rho.get(), rational_rho.get());
    fmpq_poly_get_numerator(pair.sigma.get(), rational_sigma.get());
    pair.length = static_cast<slong>(std::max(rho.size(), sigma.size()));
}

// P = rho(zeta) + x sigma(zeta).
void family(const IntegerPair& pair, const MpolyContext& context, Mpoly& result) {
    fmpz_mpoly_zero(result.get(), context.get());
    ulong exponents[2];
    Fmpz coefficient;
    for (slong j = 0; j < pair.length; ++j) {
        // Either polynomial may be shorter than the step: its trailing
        // zeros are not stored.
        exponents[ZETA] = static_cast<ulong>(j);
        exponents[PARAMETER] = 0;
        fmpz_poly_get_coeff_fmpz(coefficient.get(), pair.rho.get(), j);
        fmpz_mpoly_set_coeff_fmpz_ui(result.get(), coefficient.get(), exponents, context.get());
        exponents[PARAMETER] = 1;
        fmpz_poly_get_coeff_fmpz(coefficient.get(), pair.sigma.get(), j);
        fmpz_mpoly_set_coeff_fmpz_ui(result.get(), coefficient.get(), exponents, context.get());
    }
}

// zeta^d A(1/zeta, x), d the degree of A in zeta.
void reversed(const Mpoly& a, const MpolyContext& context, Mpoly& result) {
    const slong degree = fmpz_mpoly_degree_si(a.get(), ZETA, context.get());
    fmpz_mpoly_zero(result.get(), context.get());
    ulong exponents[2];
    Fmpz coefficient;
    for (slong t = 0; t < fmpz_mpoly_length(a.get(), context.get()); ++t) {
        fmpz_mpoly_get_term_exp_ui(exponents, a.get(), t, context.get());
        fmpz_mpoly_get_term_coeff_fmpz(coefficient.get(), a.get(), t, context.get());
        exponents[ZETA] = static_cast<ulong>(degree) - exponents[ZETA];
        fmpz_mpoly_push_term_fmpz_ui(result.get(), coefficient.get(), exponents, context.get());
    }
    fmpz_mpoly_sort_terms(result.get(), context.get());
    fmpz_mpoly_combine_like_terms(result.get(), context.get());
}

// A polynomial in x alone, as a univariate one; false if it isn't one.
bool in_parameter(const Mpoly& a, const MpolyContext& context, fmpz_poly_struct* result) {
    return fmpz_mpoly_get_fmpz_poly(result, a.get(), PARAMETER, context.get()) != 0;
}

} // namespace ordimet::analyse

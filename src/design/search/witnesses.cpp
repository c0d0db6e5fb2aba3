// Suspect points rounded to rationals and tested with the exact root
// condition.

#include "design/search/witnesses.hpp"

#include "analyse/exact/flint_handles.hpp"
#include "analyse/exact/numbers.hpp"
#include "analyse/linear/region_scan.hpp"
#include "analyse/roots/roots.hpp"

#include <cmath>
#include <vector>

namespace ordimet::design {
namespace {

using analyse::FmpqPoly;

// The double rounded to 24 significant bits, as an exact rational: short
// enough to keep the exact test cheap, close enough to stay where the
// estimate saw the root outside.
Rational short_rational(double value) {
    if (value == 0.0 || !std::isfinite(value)) {
        return Rational();
    }
    int exponent = 0;
    std::frexp(value, &exponent);
    const double rounded =
        std::ldexp(std::nearbyint(std::ldexp(value, 24 - exponent)), exponent - 24);
    return analyse::exact_rational(rounded);
}

} // namespace

bool certainly_outside_at(std::span<const Rational> rho, std::span<const Rational> sigma,
                          double x) {
    const Rational point = short_rational(x);
    if (fmpq_sgn(point.get()) <= 0) {
        return false;
    }
    // At the x where the leading coefficient vanishes a root is at
    // infinity, which the root condition of the lower degree doesn't see.
    Rational top;
    fmpq_mul(top.get(), sigma.back().get(), point.get());
    fmpq_add(top.get(), top.get(), rho.back().get());
    if (top.is_zero()) {
        return false;
    }
    const analyse::Configuration at = analyse::at_rational(rho, sigma, point);
    return at.decided && !at.closed;
}

bool certainly_outside_at(std::span<const Rational> rho, std::span<const Rational> sigma,
                          std::complex<double> z) {
    const Rational a = short_rational(z.real());
    const Rational b = short_rational(z.imag());
    if (b.is_zero()) {
        return false;
    }
    FmpqPoly r;
    FmpqPoly s;
    analyse::to_fmpq_poly(r.get(), rho);
    analyse::to_fmpq_poly(s.get(), sigma);
    FmpqPoly product;
    FmpqPoly term;
    fmpq_poly_mul(product.get(), r.get(), r.get());
    fmpq_poly_mul(term.get(), r.get(), s.get());
    Rational factor;
    fmpq_mul_si(factor.get(), a.get(), -2);
    fmpq_poly_scalar_mul_fmpq(term.get(), term.get(), factor.get());
    fmpq_poly_add(product.get(), product.get(), term.get());
    fmpq_poly_mul(term.get(), s.get(), s.get());
    Rational modulus2;
    fmpq_mul(modulus2.get(), a.get(), a.get());
    fmpq_addmul(modulus2.get(), b.get(), b.get());
    fmpq_poly_scalar_mul_fmpq(term.get(), term.get(), modulus2.get());
    fmpq_poly_add(product.get(), product.get(), term.get());
    const long degree = fmpq_poly_degree(product.get());
    if (degree < 1) {
        return false;
    }
    std::vector<Rational> coefficients(analyse::as_index(degree) + 1);
    for (long j = 0; j <= degree; ++j) {
        fmpq_poly_get_coeff_fmpq(coefficients[analyse::as_index(j)].get(), product.get(), j);
    }
    // m as large as the degree: no multiplicity fails, only a root outside.
    const int n = static_cast<int>(degree);
    const analyse::RootCondition condition = analyse::root_condition(n, n, coefficients);
    return condition.status == analyse::RootStatus::DECIDED && !condition.zero_stable;
}

} // namespace ordimet::design

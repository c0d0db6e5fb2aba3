#include "analyse/linear/number_field.hpp"

#include <deque>
#include <utility>

namespace ordimet::analyse {

namespace {

// Coefficients in zeta, each a rational polynomial in x reduced mod f;
// the highest is non-zero (an empty list is 0).
using FieldPoly = std::deque<FmpqPoly>;

void trim(FieldPoly& a) {
    while (!a.empty() && fmpq_poly_is_zero(a.back().get())) {
        a.pop_back();
    }
}

void multiply_mod(fmpq_poly_struct* result, const fmpq_poly_struct* a, const fmpq_poly_struct* b,
                  const fmpq_poly_struct* f) {
    fmpq_poly_mul(result, a, b);
    fmpq_poly_rem(result, result, f);
}

// b made monic over the field; b non-zero.
void make_monic(FieldPoly& b, const fmpq_poly_struct* f) {
    FmpqPoly inverse;
    FmpqPoly g;
    FmpqPoly unused;
    fmpq_poly_xgcd(g.get(), inverse.get(), unused.get(), b.back().get(), f);
    for (FmpqPoly& c : b) {
        multiply_mod(c.get(), c.get(), inverse.get(), f);
    }
}

// a mod b over the field; b monic.
void field_remainder(FieldPoly& a, const FieldPoly& b, const fmpq_poly_struct* f) {
    FmpqPoly factor;
    FmpqPoly product;
    trim(a);
    while (a.size() >= b.size()) {
        fmpq_poly_set(factor.get(), a.back().get());
        const std::size_t shift = a.size() - b.size();
        for (std::size_t j = 0; j + 1 < b.size(); ++j) {
            multiply_mod(product.get(), factor.get(), b[j].get(), f);
            fmpq_poly_sub(a[j + shift].get(), a[j + shift].get(), product.get());
        }
        fmpq_poly_zero(a.back().get());
        trim(a);
    }
}

// gcd(a, b) over the field, left in a; b is used up. Each divisor is made
// monic first, which keeps the remainders' coefficients from growing fast.
void field_gcd(FieldPoly& a, FieldPoly& b, const fmpq_poly_struct* f) {
    trim(a);
    trim(b);
    while (!b.empty()) {
        make_monic(b, f);
        field_remainder(a, b, f);
        std::swap(a, b);
    }
}

// P(zeta, b), its derivative in zeta and its reverse, over Q[x]/(f).
struct FieldFamily {
    FieldPoly p;
    FieldPoly derivative;
    FieldPoly reverse;
};

void at_breakpoint(const IntegerPair& pair, const fmpz_poly_struct* f, FieldFamily& result) {
    FmpqPoly modulus;
    fmpq_poly_set_fmpz_poly(modulus.get(), f);
    result = FieldFamily{};
    for (slong j = 0; j < pair.length; ++j) {
        FmpqPoly& c = result.p.emplace_back();
        Fmpz value;
        fmpz_poly_get_coeff_fmpz(value.get(), pair.rho.get(), j);
        fmpq_poly_set_coeff_fmpz(c.get(), 0, value.get());
        fmpz_poly_get_coeff_fmpz(value.get(), pair.sigma.get(), j);
        fmpq_poly_set_coeff_fmpz(c.get(), 1, value.get());
        fmpq_poly_rem(c.get(), c.get(), modulus.get());
    }
    trim(result.p);
    for (std::size_t j = 1; j < result.p.size(); ++j) {
        FmpqPoly& c = result.derivative.emplace_back();
        fmpq_poly_scalar_mul_si(c.get(), result.p[j].get(), static_cast<slong>(j));
    }
    for (std::size_t j = result.p.size(); j-- > 0;) {
        fmpq_poly_set(result.reverse.emplace_back().get(), result.p[j].get());
    }
}

FieldPoly copy_of(const FieldPoly& a) {
    FieldPoly result;
    for (const FmpqPoly& c : a) {
        fmpq_poly_set(result.emplace_back().get(), c.get());
    }
    return result;
}

} // namespace

bool root_on_circle_at(const IntegerPair& pair, const fmpz_poly_struct* f, bool multiple) {
    FieldFamily at_point;
    at_breakpoint(pair, f, at_point);
    FmpqPoly modulus;
    fmpq_poly_set_fmpz_poly(modulus.get(), f);
    FieldPoly common = copy_of(at_point.p);
    if (multiple) {
        FieldPoly derivative = copy_of(at_point.derivative);
        field_gcd(common, derivative, modulus.get());
    }
    if (common.size() > 1) {
        FieldPoly other = copy_of(at_point.reverse);
        field_gcd(common, other, modulus.get());
    }
    return common.size() > 1;
}

} // namespace ordimet::analyse

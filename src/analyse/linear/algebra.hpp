#pragma once

// The algebra the linear stability analyses share: rho and sigma as integer
// polynomials over one denominator, and the family P(zeta, x) = rho(zeta) +
// x sigma(zeta) as a bivariate integer polynomial (FLINT's fmpz_mpoly).

#include "analyse/exact/flint_handles.hpp"
#include "analyse/exact/rational.hpp"

#include <flint/fmpz_mpoly.h>
#include <span>

namespace ordimet::analyse {

constexpr slong ZETA = 0;
constexpr slong PARAMETER = 1;

class MpolyContext {
  public:
    MpolyContext() { fmpz_mpoly_ctx_init(value_, 2, ORD_LEX); }
    ~MpolyContext() { fmpz_mpoly_ctx_clear(value_); }
    MpolyContext(const MpolyContext&) = delete;
    MpolyContext& operator=(const MpolyContext&) = delete;
    const fmpz_mpoly_ctx_struct* get() const { return value_; }

  private:
    fmpz_mpoly_ctx_t value_;
};

class Mpoly {
  public:
    explicit Mpoly(const MpolyContext& context) : context_(context) {
        fmpz_mpoly_init(value_, context_.get());
    }
    ~Mpoly() { fmpz_mpoly_clear(value_, context_.get()); }
    Mpoly(const Mpoly&) = delete;
    Mpoly& operator=(const Mpoly&) = delete;
    fmpz_mpoly_struct* get() { return value_; }
    const fmpz_mpoly_struct* get() const { return value_; }

  private:
    const MpolyContext& context_;
    fmpz_mpoly_t value_;
};

// The integer polynomials D rho and D sigma, D the common denominator of
// every coefficient, on one length k + 1.
struct IntegerPair {
    FmpzPoly rho;
    FmpzPoly sigma;
    slong length = 0;
};

// D rho and D sigma from rho and sigma (coefficient j at index j).
void to_integers(std::span<const Rational> rho, std::span<const Rational> sigma, IntegerPair& pair);

// P = rho(zeta) + x sigma(zeta).
void family(const IntegerPair& pair, const MpolyContext& context, Mpoly& result);

// zeta^d A(1/zeta, x), d the degree of A in zeta.
void reversed(const Mpoly& a, const MpolyContext& context, Mpoly& result);

// A polynomial in x alone, as a univariate one; false if it isn't one.
bool in_parameter(const Mpoly& a, const MpolyContext& context, fmpz_poly_struct* result);

} // namespace ordimet::analyse

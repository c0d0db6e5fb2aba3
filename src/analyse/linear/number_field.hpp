#pragma once

// Polynomials in zeta over the number field Q[x]/(f): what decides a
// breakpoint x = b that the discriminants and the resultant leave open.

#include "analyse/linear/algebra.hpp"

namespace ordimet::analyse {

// Whether P(zeta, b) = rho(zeta) + b sigma(zeta), b a root of the
// irreducible f, has a root on the unit circle: a common root of P and its
// reverse P*; with `multiple`, a multiple root on the circle: a common root
// of P, dP/dzeta and P*.
bool root_on_circle_at(const IntegerPair& pair, const fmpz_poly_struct* f, bool multiple);

} // namespace ordimet::analyse

#pragma once

// The certified location of every root of an integer polynomial with respect
// to the unit circle, for the roots of rho and the eigenvalues of a cycle.
//
// Every location is certified. The roots 0, 1 and -1 are divided out
// exactly. What remains is split into squarefree parts, whose roots are
// enclosed in rigorous disks (Arb): a disk wholly inside or outside the
// circle decides its root. A disk that meets the circle is decided by exact
// algebra: the roots of a squarefree f on the circle are roots of
// g = gcd(f, f*), f* the reversed f, which is self-reciprocal; with
// x = z + 1/z they are the real roots of a polynomial h of half the degree
// in (-2, 2), counted exactly by Sturm sequences. When as many disks meet
// the circle as there are roots on it, those disks hold them; otherwise the
// disks are made smaller until they do.

#include "analyse/roots/roots.hpp"

#include <flint/fmpz_poly.h>
#include <vector>

namespace ordimet::analyse {

struct Located {
    double re = 0.0;
    double im = 0.0;
    int multiplicity = 1;
    int minimal_multiplicity = 1;
    Location location = Location::INSIDE;
    bool exactly_one = false; // the root z = 1, found exactly
    // The enclosure's midpoint minus re, rounded: orders real roots whose
    // nearest doubles tie (1 - 10^-30 before 1 + 10^-30).
    double residual = 0.0;
};

// Every distinct root of `poly` once, with its multiplicity in `poly` and,
// when `minimal` is given (the minimal polynomial of a matrix whose
// characteristic polynomial is `poly`), in `minimal`: real roots first in
// ascending order, then complex pairs (upper half-plane first), the two
// halves of a pair printed alike. Both polynomials are changed (their exact
// roots divided out). False when the roots are too close to one another or
// to the circle for the bounded work of the isolation.
bool locate_roots(fmpz_poly_struct* poly, fmpz_poly_struct* minimal, std::vector<Located>& out);

} // namespace ordimet::analyse

#pragma once

// Real roots of univariate integer polynomials, isolated exactly: Descartes'
// rule of signs and bisection in intervals with rational ends.

#include "analyse/exact/flint_handles.hpp"
#include "analyse/exact/rational.hpp"

#include <cstddef>
#include <deque>
#include <span>
#include <vector>

namespace ordimet::analyse {

// A real algebraic number: the only root of the squarefree polynomial
// `part` in the open interval (lower, upper), whose ends are not roots; or
// the rational root lower = upper.
struct RealRoot {
    std::size_t part = 0;
    Rational lower;
    Rational upper;
    bool exact() const { return lower == upper; }
};

int compare(const Rational& a, const Rational& b);

int sign_at(const fmpz_poly_struct* f, const Rational& x);

// The sign of a squarefree f just beside x, to its right or its left: f's
// own sign, or at a root of f (a simple one) that of f' on the right and
// its opposite on the left. An interval's end can be a rational root of f
// found on the way, while its one root inside is another.
int sign_beside(const fmpz_poly_struct* f, const Rational& x, bool right);

// The sign variations of the coefficients: by Descartes' rule, an upper
// bound of the positive roots, exact when it is 0 or 1.
long sign_changes(const fmpz_poly_struct* f);

// The roots in (0, 1) of a squarefree p with p(0) != 0 and p(1) != 0, by
// Descartes' rule and bisection (the Collins-Akritas method): q(x) stands
// for p on (c/2^k, (c+1)/2^k), and the sign variations of
// (x + 1)^n q(1/(x + 1)) bound its roots there. Each root comes as its
// isolating interval, or exactly when it is a midpoint met on the way.
void roots_in_unit_interval(const fmpz_poly_struct* p, std::size_t part,
                            std::vector<RealRoot>& out);

// Halves the isolating interval of a root, keeping the half where the
// polynomial changes sign; a midpoint that is the root makes it exact.
void halve(const fmpz_poly_struct* f, RealRoot& root);

// The positive roots of a squarefree f with f(0) != 0: those of f(2^b t)
// in (0, 1), with 2^b above every root's modulus (Cauchy's bound).
void positive_roots_of(const fmpz_poly_struct* f, std::size_t part, std::vector<RealRoot>& out);

// Sorts roots of several coprime squarefree polynomials and makes their
// intervals apart, halving the wider of two that meet.
void sort_apart(std::span<const fmpz_poly_struct* const> parts, std::vector<RealRoot>& roots);

// The value of a root to 6 significant digits: its interval is halved
// until both ends print alike.
double six_digits(const fmpz_poly_struct* f, RealRoot root);

// Whether g vanishes at the root: a common root of g and the root's
// polynomial f lies in its interval.
bool vanishes_at(const fmpz_poly_struct* f, const fmpz_poly_struct* g, const RealRoot& root);

// The irreducible factor of f whose root the root is.
void irreducible_at(const fmpz_poly_struct* f, const RealRoot& root, fmpz_poly_struct* result);

Rational simplest_between(const Rational& low, const Rational& high);

Rational weighted(const Rational& a, long wa, const Rational& b, long wb);

// The roots in (-1, 1) of the squarefree parts of e (with `odd_only`, of
// those of odd multiplicity), ascending and apart, each interval strictly
// inside (-1, 1) and narrower than 2^-20; `parts` holds the parts without
// the roots +-1, which the roots refer to.
void roots_in_open_unit(const fmpz_poly_struct* e, bool odd_only, std::deque<FmpzPoly>& parts,
                        std::vector<RealRoot>& roots);

// A rational point inside each piece of (-1, 1) between the roots.
std::vector<Rational> samples_between(const std::vector<RealRoot>& roots);

} // namespace ordimet::analyse

#pragma once

// Approximate roots of a polynomial with double coefficients by the Aberth
// iteration: the guess that the certified root location starts from, and
// the roots that the pictures draw.

#include <complex>
#include <span>
#include <vector>

namespace ordimet::analyse {

// f(z) and f'(z) by Horner's rule; c[j] is the coefficient of z^j, c not
// empty.
std::complex<double> evaluate_with_derivative(std::span<const double> c, std::complex<double> z,
                                              std::complex<double>& derivative);

// The n roots of the polynomial of degree n = c.size() - 1 >= 1, with
// c[n] != 0 and c[0] != 0. True when the iteration settled (every step
// below a relative 4e-16); false when it did not within its 100 steps or a
// step was not finite. `roots` holds the last iterates either way: close to
// the roots for a multiple root, whose iteration converges only linearly,
// and possibly not finite after a step that was not.
bool aberth_roots(std::span<const double> c, std::vector<std::complex<double>>& roots);

} // namespace ordimet::analyse

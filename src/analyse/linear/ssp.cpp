// The SSP coefficient from the signs and ratios of the normalised
// coefficients, in exact rational arithmetic.

#include "analyse/linear/ssp.hpp"

#include <cstddef>

namespace ordimet::analyse {
namespace {

// The index of the last non-zero value, or -1 when every value is 0.
long degree(std::span<const Rational> values) {
    for (std::size_t j = values.size(); j-- > 0;) {
        if (!values[j].is_zero()) {
            return static_cast<long>(j);
        }
    }
    return -1;
}

} // namespace

std::optional<Rational> ssp_coefficient(std::span<const Rational> rho,
                                        std::span<const Rational> sigma) {
    const long k = degree(rho);
    if (k < 0 || degree(sigma) > k) {
        return std::nullopt;
    }
    const std::size_t top = static_cast<std::size_t>(k);
    // The signs of alpha_j = -A[j] / A[k] and beta_j = B[j] / A[k] are those
    // of -A[j] and B[j] times the sign of A[k]; their ratio needs no
    // division by A[k].
    const int lead = fmpq_sgn(rho[top].get());
    std::optional<Rational> least;
    Rational ratio;
    for (std::size_t j = 0; j <= top; ++j) {
        const int alpha = j < top ? -fmpq_sgn(rho[j].get()) * lead : 0;
        const int beta = j < sigma.size() ? fmpq_sgn(sigma[j].get()) * lead : 0;
        if (alpha < 0 || beta < 0) {
            return Rational(); // 0: some alpha_j or beta_j is negative
        }
        if (j == top || beta == 0) {
            continue;
        }
        fmpq_div(ratio.get(), rho[j].get(), sigma[j].get());
        fmpq_neg(ratio.get(), ratio.get());
        if (!least || fmpq_cmp(ratio.get(), least->get()) < 0) {
            least = ratio;
        }
    }
    return least;
}

} // namespace ordimet::analyse

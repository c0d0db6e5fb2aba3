#include "consistency/consistency.hpp"
#include "stability/stability.hpp"

#include <cmath>
#include <cstddef>

namespace ordimet {
namespace {

// The march goes on while the next abscissa lies no further than one step
// (less the tolerance) beyond X, that is while the value just computed lay
// at or before X - ZERO_TOLERANCE. Evaluated as written: X - x, then + h.
bool march_goes_on(double X, double x, double h) {
    return (X - x) + h >= ZERO_TOLERANCE;
}

} // namespace

double integrate_test_equation(double h, double X, int p, int k, int m, int c,
                               std::span<double> window, ConstRowTable table) {
    const auto steps = static_cast<std::size_t>(k);
    double x = static_cast<double>(k) * h;
    const double hm = std::pow(h, static_cast<double>(m));
    fill_starting_values(h, p, k, window);
    double y = window[steps - 1];

    while (march_goes_on(X, x, h)) {
        for (int i = 0; i < c; ++i) {
            // Set i holds A[0..k] at 0..k and B[0..k] at k+1..2k+1.
            const double* a = table[i];
            const double* b = a + steps + 1;

            // With f = y the algorithm solves for its newest value directly:
            // y_{n+k} = sum_j (h^m B[j] - A[j]) y_{n+j} / (A[k] - h^m B[k]).
            // A zero denominator is left to IEEE arithmetic; the end test
            // depends on x alone, so the march still ends on time.
            double s = 0.0;
            for (std::size_t j = 0; j < steps; ++j) {
                s = s + ((hm * b[j]) - a[j]) * window[j];
            }
            y = s / (a[steps] - hm * b[steps]);

            for (std::size_t j = 1; j < steps; ++j) {
                window[j - 1] = window[j];
            }
            window[steps - 1] = y;
            x = x + h;

            // The end may come in the middle of a cycle: the remaining
            // algorithms of that cycle make no step.
            if (!march_goes_on(X, x, h)) {
                return y;
            }
        }
    }
    return y;
}

} // namespace ordimet

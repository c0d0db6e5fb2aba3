#include "analyse/roots/aberth.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace ordimet::analyse {
namespace {

using Complex = std::complex<double>;

// Relative size below which the iteration counts as converged.
constexpr double CONVERGED = 4e-16;
constexpr int MAX_ITERATIONS = 100;

// Complex products and quotients written out: the library's versions guard
// against infinities at a cost this hot loop can't afford; a non-finite
// result here only makes the iteration fail.
Complex times(Complex a, Complex b) {
    return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

Complex over(Complex a, Complex b) {
    const double norm = b.real() * b.real() + b.imag() * b.imag();
    return {(a.real() * b.real() + a.imag() * b.imag()) / norm,
            (a.imag() * b.real() - a.real() * b.imag()) / norm};
}

} // namespace

Complex evaluate_with_derivative(std::span<const double> c, Complex z, Complex& derivative) {
    Complex value = c.back();
    derivative = 0.0;
    for (std::size_t j = c.size() - 1; j-- > 0;) {
        derivative = times(derivative, z) + value;
        value = times(value, z) + c[j];
    }
    return value;
}

bool aberth_roots(std::span<const double> c, std::vector<Complex>& roots) {
    const std::size_t n = c.size() - 1;
    const double radius = std::pow(std::fabs(c[0] / c[n]), 1.0 / static_cast<double>(n));
    roots.resize(n);
    const double turn = 6.283185307179586 / static_cast<double>(n);
    for (std::size_t j = 0; j < n; ++j) {
        roots[j] = std::polar(radius, turn * static_cast<double>(j) + 0.4);
    }
    for (int iteration = 0; iteration < MAX_ITERATIONS; ++iteration) {
        bool settled = true;
        for (std::size_t i = 0; i < n; ++i) {
            Complex& z = roots[i];
            Complex derivative;
            const Complex value = evaluate_with_derivative(c, z, derivative);
            if (value == 0.0) {
                continue;
            }
            const Complex w = over(value, derivative);
            Complex repulsion = 0.0;
            for (std::size_t j = 0; j < n; ++j) {
                if (j != i) {
                    repulsion += over(1.0, z - roots[j]);
                }
            }
            const Complex step = over(w, 1.0 - times(w, repulsion));
            if (!std::isfinite(step.real()) || !std::isfinite(step.imag())) {
                return false;
            }
            z -= step;
            if (std::abs(step) > CONVERGED * std::max(1.0, std::abs(z))) {
                settled = false;
            }
        }
        if (settled) {
            return true;
        }
    }
    return false;
}

} // namespace ordimet::analyse

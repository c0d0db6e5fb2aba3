#pragma once

// Convergence measured by integration. A method of step k for y^(m) = f,
// one algorithm or a cycle of algorithms applied in turn (one step each, the
// first first), is integrated on the linear test problems of its m from
// exact starting values, at the step sizes h, h/2, ..., h/128:
//   m = 1:  y' = -y and y' = y on [0, 1], y(0) = 1, h = 1/20;
//   m = 2:  y'' = -y on [0, 2 pi] with y = cos x, h = 2 pi / 20, and
//           y'' = y on [0, 1] with y = e^x, h = 1/20;
//   m >= 3: y^(m) = y on [0, 1] with y = e^x, h = 1/20.
// On these problems each algorithm's equation is linear in the new value,
// which is solved for exactly, implicit or not. The global error of a step
// size is the largest |y_n - y(x_n)| over the grid; round-off is kept below
// a millionth of every error (convergence.cpp says how), so the orders seen
// are the method's, never the arithmetic's. Errors beyond the doubles, as a
// method that is not zero-stable makes them, are still measured: they and
// their observed orders come out as +infinity and (negative) numbers.
// Nothing here prints or throws.

#include "analyse/exact/coefficients.hpp"

#include <span>
#include <string>
#include <vector>

namespace ordimet::analyse {

// The step sizes of a run, and the precisions (bits) the arithmetic starts
// at and may rise to.
inline constexpr int CONVERGENCE_SIZES = 8;
inline constexpr long CONVERGENCE_FIRST_STEPS = 20;
inline constexpr long CONVERGENCE_START_PRECISION = 128;
inline constexpr long CONVERGENCE_MAX_PRECISION = 8192;

// One test problem integrated at every step size.
struct ConvergenceRun {
    std::string problem;       // "y' = -y, [0, 1]", "y'' = -y, [0, 2 pi]", "y^(3) = y, [0, 1]", ...
    std::vector<double> steps; // h, h/2, ..., h/128
    // The global error at each step size, rounded to a double: +infinity
    // beyond the doubles; NaN when undefined (an algorithm's new value is
    // not determined at that h: A[k] - lambda h^m B[k] = 0).
    std::vector<double> errors;
    // log2(errors[i] / errors[i + 1]), from the errors before rounding (so
    // finite also between errors beyond the doubles); NaN where an error is
    // undefined or 0.
    std::vector<double> observed_orders;
    // The least-squares slope of log(error) against log(h) over the finest
    // three step sizes; NaN where one of them is undefined or 0.
    double measured_order = 0.0;
    // The precision (bits) of the last integrations, the one found enough.
    long precision_bits = 0;
};

// The runs of the test problems of m, in the order listed above. Each
// algorithm holds A[0..k] then B[0..k] (step-reduced, A[k] and B[k] not both
// 0). `cyclic`: the algorithms in turn, step n (computing y_{n+k}) by
// algorithm n mod c; otherwise there must be exactly one. Empty when k or m
// is below 1, k is above MAX_EXACT_STEP, an algorithm has not 2k + 2
// coefficients, or there is no algorithm (or more than one without `cyclic`).
std::vector<ConvergenceRun> measure_convergence(int k, int m, bool cyclic,
                                                std::span<const Coefficients> algorithms);

} // namespace ordimet::analyse

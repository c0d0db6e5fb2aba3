#pragma once

// Stability test: Taylor starting values, the integration of the test
// equation y^(m) = y with the algorithms in turn, and the verdict.

#include "methodfile/methodfile.hpp"

#include <span>

namespace ordimet {

// Results of the exponential stability test.
inline constexpr int STABILITY_CONVERGED = 0;
inline constexpr int STABILITY_DIVERGED = -2;
inline constexpr int STABILITY_NO_MEMORY = -3;

// v * (1 + h + h^2/2! + ... + h^n/n!), the terms formed one from the other.
double taylor_exp_step(double v, double h, int n);

// window[0] = 1.0 and window[i] = taylor_exp_step(window[i-1], h, p).
void fill_starting_values(double h, int p, int k, std::span<double> window);

// Marches from the starting values up to the end abscissa X with step h and
// returns the last value computed.
double integrate_test_equation(double h, double X, int p, int k, int m, int c,
                               std::span<double> window, ConstRowTable table);

// Integrates with the steps 0.1 and 0.01 and compares the errors against
// exp(X). Returns STABILITY_CONVERGED, STABILITY_DIVERGED or
// STABILITY_NO_MEMORY.
int exponential_stability_test(double X, int p, int k, int m, int c, double& larger_step_value,
                               double& smaller_step_value, ConstRowTable table);

// Prints the report of the test.
void print_stability_report(int result, double larger_step_value, double smaller_step_value,
                            double exact_value);

} // namespace ordimet

// Convergence measured by integration: every step size of every test
// problem integrated at a precision found enough, then the observed and the
// fitted orders.

#include "analyse/convergence/convergence.hpp"

#include "analyse/convergence/integration.hpp"
#include "analyse/exact/flint_handles.hpp"
#include "analyse/exact/numbers.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ordimet::analyse {
namespace {

constexpr double UNDEFINED = std::numeric_limits<double>::quiet_NaN();

// How close two integrations at different precisions must agree: to 2^-20,
// about a millionth, far below what could move an observed order.
constexpr long AGREEING_BITS = 20;

bool agree(const arf_t earlier, const arf_t later) {
    Arf difference;
    Arf bound;
    arf_sub(difference.get(), earlier, later, 64, ARF_RND_NEAR);
    arf_mul_2exp_si(bound.get(), later, -AGREEING_BITS);
    return arf_cmpabs(difference.get(), bound.get()) <= 0;
}

// The precision (left to the implementer). The integration is floating-point
// arithmetic of p bits (Arb's midpoints), not ball arithmetic: along a linear
// recurrence the balls' radii grow with the absolute values of the weights,
// not with the weights (by 1 + sqrt 2 a step for rho = (z - 1)^2 as in
// Stormer, Cowell and Numerov, by more than 3 for BDF 6), so after 640 steps
// they exceed the values by hundreds or thousands of bits, and the balls then
// lose their midpoints too, while the actual round-off stays near 2^-p times
// a power of the steps. That round-off scales with 2^-p, so the error of a
// step size is accepted at precision p when it agrees to 2^-20 with the one
// found at p / 2: their difference measures the round-off at p / 2, and the
// one at p is 2^-(p/2) smaller still. Otherwise the step size is integrated
// again at 2p, from 128 bits up to 8192. An error still unsettled at 8192
// bits (as one exactly 0 would be, the method exact on the problem) keeps
// its value there. Returns the last precision used.
long settle_errors(std::vector<Arf>& errors, std::vector<bool>& undefined, const Integrated& method,
                   const TestProblem& problem) {
    std::vector<bool> settled(CONVERGENCE_SIZES, false);
    Arf error;
    for (long precision = CONVERGENCE_START_PRECISION;; precision *= 2) {
        bool all = true;
        for (std::size_t i = 0; i < settled.size(); ++i) {
            if (settled[i]) {
                continue;
            }
            if (!global_error(error.get(), method, problem, CONVERGENCE_FIRST_STEPS << i,
                              precision)) {
                undefined[i] = settled[i] = true;
                continue;
            }
            settled[i] =
                precision > CONVERGENCE_START_PRECISION && agree(errors[i].get(), error.get());
            arf_swap(errors[i].get(), error.get());
            all = all && settled[i];
        }
        if (all || precision >= CONVERGENCE_MAX_PRECISION) {
            return precision;
        }
    }
}

// log2 |x| for a finite non-zero x, whatever its exponent; NaN otherwise.
double log2_magnitude(const arf_t x) {
    if (arf_is_zero(x) || !arf_is_finite(x)) {
        return UNDEFINED;
    }
    Arf mantissa;
    Fmpz exponent;
    arf_frexp(mantissa.get(), exponent.get(), x);
    return fmpz_get_d(exponent.get()) +
           std::log2(std::fabs(arf_get_d(mantissa.get(), ARF_RND_NEAR)));
}

// The least-squares slope of y against x (NaN when any value is).
double fitted_slope(std::span<const double> x, std::span<const double> y) {
    double mean_x = 0.0;
    double mean_y = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        mean_x += x[i] / static_cast<double>(x.size());
        mean_y += y[i] / static_cast<double>(x.size());
    }
    double covariance = 0.0;
    double variance = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        covariance += (x[i] - mean_x) * (y[i] - mean_y);
        variance += (x[i] - mean_x) * (x[i] - mean_x);
    }
    return covariance / variance;
}

ConvergenceRun run_problem(const Integrated& method, const TestProblem& problem) {
    ConvergenceRun run;
    run.problem = problem.name;
    std::vector<Arf> errors(CONVERGENCE_SIZES);
    std::vector<bool> undefined(CONVERGENCE_SIZES, false);
    run.precision_bits = settle_errors(errors, undefined, method, problem);
    std::vector<double> log_steps;
    std::vector<double> log_errors;
    for (int i = 0; i < CONVERGENCE_SIZES; ++i) {
        const arf_struct* error = errors[as_index(i)].get();
        const bool defined = !undefined[as_index(i)];
        run.steps.push_back(step_size(problem, CONVERGENCE_FIRST_STEPS << i));
        run.errors.push_back(defined ? arf_get_d(error, ARF_RND_NEAR) : UNDEFINED);
        log_steps.push_back(std::log2(run.steps.back()));
        log_errors.push_back(defined ? log2_magnitude(error) : UNDEFINED);
    }
    for (std::size_t i = 0; i + 1 < log_errors.size(); ++i) {
        run.observed_orders.push_back(log_errors[i] - log_errors[i + 1]);
    }
    const std::size_t last = log_errors.size() - 3;
    run.measured_order =
        fitted_slope(std::span(log_steps).subspan(last), std::span(log_errors).subspan(last));
    return run;
}

} // namespace

std::vector<ConvergenceRun> measure_convergence(int k, int m, bool cyclic,
                                                std::span<const Coefficients> algorithms) {
    const auto shaped = [k](const Coefficients& c) { return c.size() == 2 * as_index(k) + 2; };
    if (k < 1 || k > MAX_EXACT_STEP || m < 1 || algorithms.empty() ||
        (!cyclic && algorithms.size() != 1) ||
        !std::all_of(algorithms.begin(), algorithms.end(), shaped)) {
        return {};
    }
    const Integrated method{k, m, algorithms};
    std::vector<ConvergenceRun> runs;
    for (const TestProblem& problem : test_problems(m)) {
        runs.push_back(run_problem(method, problem));
    }
    return runs;
}

} // namespace ordimet::analyse

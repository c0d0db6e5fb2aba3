// The linear test problems integrated with Arb's numbers. On y^(m) =
// lambda y an algorithm's equation sum_j (A[j] - mu B[j]) y_{n+j} = 0, with
// mu = lambda h^m, gives the new value as a fixed combination of the last k:
// y_{n+k} = sum_{j<k} w_j y_{n+j}, w_j = (mu B[j] - A[j]) / (A[k] - mu B[k]).

#include "analyse/convergence/integration.hpp"

#include "analyse/exact/flint_handles.hpp"
#include "analyse/exact/numbers.hpp"

#include <acb.h>
#include <algorithm>
#include <numbers>

namespace ordimet::analyse {

std::vector<TestProblem> test_problems(int m) {
    if (m == 1) {
        return {{"y' = -y, [0, 1]", -1, false}, {"y' = y, [0, 1]", 1, false}};
    }
    if (m == 2) {
        return {{"y'' = -y, [0, 2 pi]", -1, true}, {"y'' = y, [0, 1]", 1, false}};
    }
    return {{"y^(" + std::to_string(m) + ") = y, [0, 1]", 1, false}};
}

double step_size(const TestProblem& problem, long steps) {
    const double length = problem.two_pi ? 2.0 * std::numbers::pi : 1.0;
    return length / static_cast<double>(steps);
}

namespace {

// Whether A[k] - mu B[k] != 0, decided exactly. On [0, 1] mu = lambda /
// steps^m is rational. On [0, 2 pi] mu is a non-zero rational multiple of
// pi^m, a transcendental number, so only A[k] = B[k] = 0 makes it vanish.
bool new_value_determined(const Coefficients& c, int k, int m, const TestProblem& problem,
                          long steps) {
    const Rational& a = c[as_index(k)];
    const Rational& b = c[as_index(2 * k + 1)];
    if (problem.two_pi || b.is_zero()) {
        return !a.is_zero() || !b.is_zero();
    }
    Fmpz numerator;
    Fmpz power;
    fmpz_set_si(numerator.get(), problem.lambda);
    fmpz_set_si(power.get(), steps);
    fmpz_pow_ui(power.get(), power.get(), static_cast<ulong>(m));
    Rational mu;
    fmpq_set_fmpz_frac(mu.get(), numerator.get(), power.get());
    Rational denominator(a);
    fmpq_submul(denominator.get(), mu.get(), b.get());
    return !denominator.is_zero();
}

// mu = lambda h^m.
void step_factor(arb_t mu, const TestProblem& problem, int m, long steps, long precision) {
    if (problem.two_pi) {
        arb_const_pi(mu, precision);
        arb_mul_2exp_si(mu, mu, 1);
    } else {
        arb_one(mu);
    }
    arb_div_si(mu, mu, steps, precision);
    arb_pow_ui(mu, mu, static_cast<ulong>(m), precision);
    if (problem.lambda < 0) {
        arb_neg(mu, mu);
    }
}

// The weights w_0 .. w_{k-1} of one algorithm's step.
void step_weights(arb_ptr weights, const Coefficients& c, int k, const arb_t mu, long precision) {
    Arb a;
    Arb b;
    Arb denominator;
    arb_set_fmpq(a.get(), c[as_index(k)].get(), precision);
    arb_set_fmpq(b.get(), c[as_index(2 * k + 1)].get(), precision);
    arb_mul(b.get(), b.get(), mu, precision);
    arb_sub(denominator.get(), a.get(), b.get(), precision);
    for (int j = 0; j < k; ++j) {
        arb_set_fmpq(a.get(), c[as_index(j)].get(), precision);
        arb_set_fmpq(b.get(), c[as_index(k + 1 + j)].get(), precision);
        arb_mul(b.get(), b.get(), mu, precision);
        arb_sub(weights + j, b.get(), a.get(), precision);
        arb_div(weights + j, weights + j, denominator.get(), precision);
    }
}

// y(x_n) for every n below values.size(), as successive powers of e^(lambda
// h) or of e^(i h): a ball's radius grows only linearly along them.
void exact_solution(ArbVector& values, const TestProblem& problem, long steps, long precision) {
    arb_one(values.at(0));
    if (problem.two_pi) {
        Acb unit;
        Acb power;
        const Rational angle(2, static_cast<unsigned long>(steps)); // h / pi
        arb_sin_cos_pi_fmpq(acb_imagref(unit.get()), acb_realref(unit.get()), angle.get(),
                            precision);
        acb_one(power.get());
        for (long n = 1; n < values.size(); ++n) {
            acb_mul(power.get(), power.get(), unit.get(), precision);
            arb_set(values.at(n), acb_realref(power.get()));
        }
        return;
    }
    Arb factor;
    arb_set_si(factor.get(), problem.lambda);
    arb_div_si(factor.get(), factor.get(), steps, precision);
    arb_exp(factor.get(), factor.get(), precision);
    for (long n = 1; n < values.size(); ++n) {
        arb_mul(values.at(n), values.at(n - 1), factor.get(), precision);
    }
}

} // namespace

bool global_error(arf_t error, const Integrated& method, const TestProblem& problem, long steps,
                  long precision) {
    const int k = method.k;
    const long cycle = static_cast<long>(method.algorithms.size());
    for (const Coefficients& algorithm : method.algorithms) {
        if (!new_value_determined(algorithm, k, method.m, problem, steps)) {
            return false;
        }
    }
    ArbVector weights(cycle * k);
    Arb mu;
    step_factor(mu.get(), problem, method.m, steps, precision);
    for (long i = 0; i < cycle; ++i) {
        step_weights(weights.at(i * k), method.algorithms[as_index(i)], k, mu.get(), precision);
    }
    // The starting values y_0 .. y_{k-1} are exact (to the precision), even
    // where they lie beyond the interval (k > steps + 1): only computed
    // values count in the error.
    const long count = std::max(steps + 1, static_cast<long>(k));
    ArbVector exact(count);
    ArbVector y(count);
    exact_solution(exact, problem, steps, precision);
    _arb_vec_set(y.get(), exact.get(), k);
    // Each new value keeps only its midpoint (see settle_errors in
    // convergence.cpp): the integration is floating-point arithmetic of the
    // given precision, rounded once a step.
    Arf difference;
    arf_zero(error);
    for (long n = 0; n + k <= steps; ++n) {
        arb_ptr next = y.at(n + k);
        arb_dot(next, nullptr, 0, weights.at((n % cycle) * k), 1, y.at(n), 1, k, precision);
        mag_zero(arb_radref(next));
        arf_sub(difference.get(), arb_midref(next), arb_midref(exact.at(n + k)), precision,
                ARF_RND_NEAR);
        if (arf_cmpabs(difference.get(), error) > 0) {
            arf_abs(error, difference.get());
        }
    }
    return true;
}

} // namespace ordimet::analyse

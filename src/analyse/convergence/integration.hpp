#pragma once

// The integration of one test problem at one step size and one precision,
// for convergence.cpp: the problems and the global error.

#include "analyse/exact/coefficients.hpp"

#include <arb.h>
#include <span>
#include <string>
#include <vector>

namespace ordimet::analyse {

// y^(m) = lambda y with its exact solution: e^(lambda x) on [0, 1], or, for
// m = 2 and lambda = -1, cos x on [0, 2 pi].
struct TestProblem {
    std::string name;
    int lambda = 1;
    bool two_pi = false; // the interval [0, 2 pi] and the solution cos x
};

// The test problems of equation order m.
std::vector<TestProblem> test_problems(int m);

// The step size of `steps` steps over the problem's interval.
double step_size(const TestProblem& problem, long steps);

// The method to integrate: step k, equation order m, the algorithms applied
// in turn (one of them for a method that is not cyclic).
struct Integrated {
    int k = 0;
    int m = 0;
    std::span<const Coefficients> algorithms;
};

// The global error of the problem integrated with `steps` steps from exact
// starting values, in floating-point arithmetic of `precision` bits: the
// largest |y_n - y(x_n)| over the grid. False (and `error` left alone) when
// an algorithm's new value is not determined at this step size.
bool global_error(arf_t error, const Integrated& method, const TestProblem& problem, long steps,
                  long precision);

} // namespace ordimet::analyse

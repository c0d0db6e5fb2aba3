// Convergence by integration checked against textbook orders and against
// errors found by an independent integration in 80-digit decimal arithmetic
// (the methods are described in data/convergence/README.md).

#include "analyse/convergence/convergence.hpp"
#include "analyse/reading/reading.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace ordimet::analyse {
namespace {

struct Method {
    int k = 0;
    int m = 0;
    std::vector<Coefficients> algorithms;
};

// The method of the named files of data/convergence (a cycle: several names).
Method load(const std::string& names) {
    Method method;
    std::istringstream list(names);
    for (std::string name; list >> name;) {
        const std::string path = std::string(ANALYSE_TEST_DATA) + "/convergence/" + name + ".txt";
        ExactMethodFile file;
        EXPECT_EQ(read_exact_method_file(path.c_str(), file), Failure::NONE) << name;
        method.k = file.k;
        method.m = file.m;
        Coefficients& algorithm = method.algorithms.emplace_back();
        for (const CoefficientReading& coefficient : file.coefficients) {
            algorithm.push_back(coefficient.as_written);
        }
    }
    return method;
}

std::vector<ConvergenceRun> measure(const std::string& names) {
    const Method method = load(names);
    return measure_convergence(method.k, method.m, method.algorithms.size() > 1, method.algorithms);
}

struct OrderCase {
    const char* names;
    int order;
};

// Every problem's fitted order within 0.3 of the textbook (or integrated) order.
TEST(Convergence, MeasuredOrdersAreTheTextbookOnes) {
    const OrderCase cases[] = {
        {"euler-forward", 1},
        {"euler-backward", 1},
        {"trapezoidal-rule", 2},
        {"adams-bashforth-2", 2},
        {"adams-bashforth-3", 3},
        {"adams-bashforth-4", 4},
        {"adams-bashforth-5", 5},
        {"adams-bashforth-6", 6},
        {"adams-bashforth-7", 7},
        {"adams-bashforth-8", 8},
        {"adams-moulton-2", 3},
        {"adams-moulton-3", 4},
        {"adams-moulton-4", 5},
        {"adams-moulton-5", 6},
        {"adams-moulton-6", 7},
        {"adams-moulton-8", 9},
        {"adams-moulton-9", 10},
        {"bdf-2", 2},
        {"bdf-3", 3},
        {"bdf-4", 4},
        {"bdf-5", 5},
        {"bdf-6", 6},
        {"numerov", 4},
        {"stormer", 2},
        {"stormer-3", 3},
        {"stormer-6", 6},
        {"cowell-4", 5},
        {"cowell-5", 6},
        {"cowell-6", 7},
        {"cowell-9", 10},
        {"symmetric-8", 8},
        {"third-order-3", 4},
        {"nystrom-2 milne-simpson", 2},
        {"euler-forward euler-backward", 2},
        {"triple-22-1 triple-22-2 triple-22-3", 3},
    };
    for (const OrderCase& c : cases) {
        const std::vector<ConvergenceRun> runs = measure(c.names);
        ASSERT_FALSE(runs.empty()) << c.names;
        for (const ConvergenceRun& run : runs) {
            EXPECT_NEAR(run.measured_order, c.order, 0.3) << c.names << ", " << run.problem;
            EXPECT_EQ(run.errors.size(), static_cast<std::size_t>(CONVERGENCE_SIZES));
            EXPECT_EQ(run.observed_orders.size(), run.errors.size() - 1);
        }
    }
}

struct ErrorCase {
    const char* names;
    std::size_t problem;
    std::size_t size; // h = h0 / 2^size
    double error;     // from the 80-digit integration, 6 significant digits
};

TEST(Convergence, ErrorsAgreeWithAnIndependentIntegration) {
    const double inf = std::numeric_limits<double>::infinity();
    const ErrorCase cases[] = {
        {"adams-bashforth-8", 0, 5, 3.83275e-24},
        {"adams-moulton-9", 0, 5, 2.15035e-31}, // far below what doubles resolve
        {"adams-moulton-9", 1, 0, 9.01989e-16},
        {"bdf-6", 1, 5, 5.57940e-18},
        {"numerov", 0, 5, 9.29896e-11},
        {"numerov", 1, 0, 1.93124e-08},
        {"symmetric-8", 0, 5, 2.58422e-18},
        {"cowell-9", 1, 5, 1.35252e-31},
        {"third-order-3", 0, 3, 1.37790e-12},
        {"nystrom-2 milne-simpson", 0, 1, 7.45430e-05},
        {"nystrom-2 milne-simpson", 0, 2, 1.86413e-05},
        {"nystrom-2 milne-simpson", 0, 3, 4.66069e-06},
        {"nystrom-2 milne-simpson", 0, 4, 1.16519e-06},
        {"euler-forward euler-backward", 1, 5, 2.21215e-06},
        {"triple-22-1 triple-22-2 triple-22-3", 0, 5, 1.21849e-09},
        {"triple-22-1 triple-22-2 triple-22-3", 1, 0, 2.52685e-04},
        {"explicit-2-step-order-3", 0, 2, 1.67091e+46},
        {"explicit-2-step-order-3", 1, 3, 2.67579e+100},
        {"explicit-2-step-order-3", 0, 5, inf}, // beyond the doubles
    };
    for (const ErrorCase& c : cases) {
        const std::vector<ConvergenceRun> runs = measure(c.names);
        ASSERT_GT(runs.size(), c.problem) << c.names;
        const double error = runs[c.problem].errors[c.size];
        if (std::isinf(c.error)) {
            EXPECT_EQ(error, c.error) << c.names;
        } else {
            EXPECT_NEAR(error / c.error, 1.0, 1e-5) << c.names << ", size " << c.size;
        }
    }
}

// A method that is not zero-stable: growing errors, negative observed orders
// even between errors beyond the doubles, at the first precision tried.
TEST(Convergence, GrowthIsMeasuredAndShown) {
    for (const ConvergenceRun& run : measure("explicit-2-step-order-3")) {
        EXPECT_LE(run.precision_bits, 2 * CONVERGENCE_START_PRECISION);
        EXPECT_TRUE(std::isinf(run.errors.back())) << run.problem;
        for (double order : run.observed_orders) {
            EXPECT_TRUE(std::isfinite(order) && order < -40.0) << run.problem;
        }
        EXPECT_LT(run.measured_order, -1000.0) << run.problem;
    }
}

// The new value of y_(n+1) - y_n = 20 h f_(n+1) is undetermined for y' = y
// at h = 1/20: that error and its observed order are NaN, the others stand.
TEST(Convergence, AnUndeterminedStepGivesNoError) {
    const std::vector<ConvergenceRun> runs = measure("undetermined-at-h-1-20");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_TRUE(std::isfinite(runs[0].errors[0]));
    EXPECT_TRUE(std::isnan(runs[1].errors[0]));
    EXPECT_TRUE(std::isnan(runs[1].observed_orders[0]));
    EXPECT_TRUE(std::isfinite(runs[1].errors[1]) && std::isfinite(runs[1].observed_orders[1]));
    EXPECT_TRUE(std::isfinite(runs[1].measured_order));
}

TEST(Convergence, ProblemsAndStepsFollowTheEquationOrder) {
    const std::vector<ConvergenceRun> first = measure("euler-forward");
    const std::vector<ConvergenceRun> second = measure("stormer");
    const std::vector<ConvergenceRun> third = measure("third-order-3");
    ASSERT_EQ(first.size(), 2u);
    ASSERT_EQ(second.size(), 2u);
    ASSERT_EQ(third.size(), 1u);
    EXPECT_EQ(first[0].problem, "y' = -y, [0, 1]");
    EXPECT_EQ(first[1].problem, "y' = y, [0, 1]");
    EXPECT_EQ(second[0].problem, "y'' = -y, [0, 2 pi]");
    EXPECT_EQ(second[1].problem, "y'' = y, [0, 1]");
    EXPECT_EQ(third[0].problem, "y^(3) = y, [0, 1]");
    EXPECT_DOUBLE_EQ(first[1].steps[0], 1.0 / 20);
    EXPECT_DOUBLE_EQ(first[1].steps[5], 1.0 / 640);
    EXPECT_DOUBLE_EQ(second[0].steps[0], 2 * std::numbers::pi / 20);
}

TEST(Convergence, MalformedMethodsGetNoRuns) {
    const Method euler = load("euler-forward");
    const Method pair = load("nystrom-2 milne-simpson");
    EXPECT_TRUE(measure_convergence(1, 1, false, {}).empty());
    EXPECT_TRUE(measure_convergence(0, 1, false, euler.algorithms).empty());
    EXPECT_TRUE(measure_convergence(1, 0, false, euler.algorithms).empty());
    EXPECT_TRUE(measure_convergence(2, 1, false, pair.algorithms).empty());  // two, not cyclic
    EXPECT_TRUE(measure_convergence(2, 1, false, euler.algorithms).empty()); // 4 coefficients
}

} // namespace
} // namespace ordimet::analyse

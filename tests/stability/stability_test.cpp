#include "stability/stability.hpp"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <vector>

namespace ordimet {
namespace {

// h / i before the product and ascending sums: the last two round
// differently in any other order.
TEST(TaylorStart, RoundsInTheStatedOrder) {
    EXPECT_EQ(taylor_exp_step(1.0, 0.1, 3), 1.1051666666666666);
    EXPECT_EQ(taylor_exp_step(1.0, 1.0, 10), 2.7182818011463845);
    EXPECT_EQ(taylor_exp_step(2.5, 2.0, 3), 15.833333333333332);
    EXPECT_EQ(taylor_exp_step(1.0, 0.1, 10), 1.1051709180756473);
    EXPECT_EQ(taylor_exp_step(2.5, 0.1, -1), 2.5);
}

// (X - x) + h equal to the tolerance lets the march go on: one doubling step.
TEST(Integration, EndTestAcceptsTheTolerance) {
    std::vector<double> doubling{-2, 1, 0, 0}, window(1);
    double* table[] = {doubling.data()};
    EXPECT_EQ(integrate_test_equation(std::ldexp(1.0, -30), 1e-6, 0, 1, 1, 1, window, table), 2.0);
}

TEST(ExponentialTest, WindowBoundsAndEqualErrors) {
    std::vector<double> hold(2 * MAX_STEP_COUNT + 2, 0.0);
    hold[MAX_STEP_COUNT - 1] = -1.0;
    hold[MAX_STEP_COUNT] = 1.0;
    double* table[] = {hold.data()};
    double larger = 5, smaller = 6;
    for (int k : {0, MAX_STEP_COUNT + 1}) {
        EXPECT_EQ(exponential_stability_test(1, 1, k, 1, 1, larger, smaller, table),
                  STABILITY_NO_MEMORY)
            << k;
    }
    EXPECT_EQ(larger + smaller, 11.0);
    // Degree 0 and no step at either size: both values are 1, the errors equal.
    EXPECT_EQ(exponential_stability_test(1, 0, MAX_STEP_COUNT, 1, 1, larger, smaller, table), 0);
    EXPECT_EQ(larger + smaller, 2.0);
}

TEST(StabilityReport, MemoryShortageShowsNoValues) {
    testing::internal::CaptureStdout();
    print_stability_report(STABILITY_NO_MEMORY, 1, 2, std::exp(1.0));
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "\nTestando estabilidade com o teste da exponencial\nErro de falta de memoria.\n");
}

} // namespace
} // namespace ordimet

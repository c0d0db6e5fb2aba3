#include "stability/stability.hpp"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace ordimet {
namespace {

using Sets = std::vector<std::vector<double>>;
const std::vector<double> kEuler{-1, 1, 1, 0}, kBackward{-1, 1, 0, 1}, kTrapezoid{-1, 1, .5, .5};

// The set of y_{n+k} = factor * y_{n+k-1} (B all zero).
std::vector<double> multiplier(int k, double factor) {
    std::vector<double> set(2 * static_cast<std::size_t>(k) + 2, 0.0);
    set[static_cast<std::size_t>(k) - 1] = -factor;
    set[static_cast<std::size_t>(k)] = 1.0;
    return set;
}

std::vector<double*> rows(Sets& sets) {
    std::vector<double*> table;
    for (auto& set : sets) {
        table.push_back(set.data());
    }
    return table;
}

double integrate(double h, double X, int p, int k, Sets sets) {
    std::vector<double> window(static_cast<std::size_t>(k));
    return integrate_test_equation(h, X, p, k, 1, static_cast<int>(sets.size()), window,
                                   rows(sets).data());
}

TEST(TaylorStart, StepsAndWindow) {
    // h / i before the product and ascending sums: the last two round
    // differently in any other order.
    EXPECT_EQ(taylor_exp_step(1.0, 0.1, 3), 1.1051666666666666);
    EXPECT_EQ(taylor_exp_step(1.0, 1.0, 10), 2.7182818011463845);
    EXPECT_EQ(taylor_exp_step(2.5, 2.0, 3), 15.833333333333332);
    EXPECT_EQ(taylor_exp_step(1.0, 0.1, 10), 1.1051709180756473);
    EXPECT_EQ(taylor_exp_step(2.5, 0.1, 0), 2.5);
    EXPECT_EQ(taylor_exp_step(2.5, 0.1, -1), 2.5);
    std::vector<double> window{0, 0, 0, 0, -7};
    fill_starting_values(0.1, 2, 4, window);
    EXPECT_EQ(window, (std::vector<double>{1.0, 1.105, 1.221025, 1.349232625, -7}));
    fill_starting_values(0.1, 2, 1, window);
    EXPECT_EQ(window[1], 1.105);
}

// With degree 0 every starting value is 1, so doubling at each step returns
// 2^(steps made).
TEST(Integration, NumberOfSteps) {
    for (auto [k, h, steps] : std::vector<std::tuple<int, double, int>>{
             {1, .1, 10}, {2, .1, 9}, {10, .1, 1}, {11, .1, 0}, {1, .01, 100}, {101, .01, 0}}) {
        EXPECT_EQ(integrate(h, 1.0, 0, k, {multiplier(k, 2)}), std::ldexp(1.0, steps)) << k << h;
    }
    // (X - x) + h equal to the tolerance lets the march go on: one step.
    EXPECT_EQ(integrate(std::ldexp(1.0, -30), 1e-6, 0, 1, {multiplier(1, 2)}), 2.0);
    // Algorithms 0,1,2,0,1,2,0,1,2,0: the fourth cycle stops after algorithm 0.
    EXPECT_EQ(integrate(.1, 1.0, 0, 1, {multiplier(1, 2), multiplier(1, 3), multiplier(1, 5)}),
              16.0 * 27.0 * 125.0);
    // y_{n+3} = y_n + y_{n+1} + y_{n+2} from 1, 1, 1: the shift keeps the order.
    EXPECT_EQ(integrate(.1, 1.0, 0, 3, {{-1, -1, -1, 1, 0, 0, 0, 0}}), 193.0);
}

TEST(Integration, KnownMarches) {
    const double r = 1.1 / 0.9;
    const Sets two{kEuler, kBackward};
    for (auto [h, X, k, sets, expected] :
         std::vector<std::tuple<double, double, int, Sets, double>>{
             {.1, 1, 1, {kEuler}, std::pow(1.1, 10)},
             {.01, 1, 1, {kEuler}, std::pow(1.01, 100)},
             {.1, .1, 1, two, 1.1},
             {.1, .2, 1, two, r},
             {.1, .3, 1, two, r * 1.1},
             {.1, .4, 1, two, r * r},
             {.1, 1, 1, two, std::pow(r, 5)},
             {.1,
              1,
              1,
              {kEuler, kBackward, kTrapezoid},
              std::pow(1.1, 4) * std::pow(1 / .9, 3) * std::pow(1.05 / .95, 3)},
             // No step (one would give 0/0): the Taylor values at 1.0 and 1.1.
             {.1, 1, 11, {std::vector<double>(24)}, std::pow(1.1, 10)},
             {.1, 1, 12, {std::vector<double>(26)}, std::pow(1.1, 11)}}) {
        EXPECT_NEAR(integrate(h, X, 1, k, sets), expected, 1e-12) << h << " " << X << " " << k;
    }
    // Zero denominators: the march still ends, with an infinity or NaN.
    EXPECT_EQ(integrate(.1, 1, 1, 1, {{-1, .1, 1, 1}}), INFINITY);
    EXPECT_TRUE(std::isnan(integrate(.1, 1, 1, 1, {{0, .1, 0, 1}})));
}

TEST(ExponentialTest, VerdictsAndValues) {
    using Row = std::tuple<int, int, int, Sets, std::string, std::string, int>;
    for (auto [p, k, m, sets, larger, smaller, code] :
         std::vector<Row>{{1, 1, 1, {kEuler}, "2.593742", "2.704814", 0},
                          {3,
                           2,
                           1,
                           {{-5, 4, 1, 2, 4, 0}},
                           "3.763994",
                           "98784686438140907716747484331344248235263637213473589428224.000000",
                           -2},
                          {2, 2, 2, {{1, -2, 1, 0, 1, 0}}, "2.715685", "2.718256", 0},
                          {2, 1, 1, {kEuler, kBackward}, "2.727413", "2.718372", 0},
                          {2, 1, 1, {kEuler, kBackward, kTrapezoid}, "2.711692", "2.718214", 0},
                          {1, 1, 1, {{-1, 1, 0, 0}}, "1.000000", "1.000000", 0}, // equal errors
                          {1, 1, 1, {{0, .1, 0, 1}}, "nan", "0.000000", -2},
                          {1, 1, 1, {{-1, .01, 1, 1}}, "74387807268.958786", "inf", -2},
                          // Only the larger step overflows: still no convergence.
                          {1, 1, 1, {{-.09, .1, 0, 1}}, "inf", "1.000000", -2},
                          // Both overflow (a zero top column): inf >= inf is no convergence.
                          {2, 2, 1, {{-1, 1, 0, .5, .5, 0}}, "inf", "inf", -2}}) {
        double larger_value = 0, smaller_value = 0;
        EXPECT_EQ(exponential_stability_test(1.0, p, k, m, static_cast<int>(sets.size()),
                                             larger_value, smaller_value, rows(sets).data()),
                  code)
            << larger;
        EXPECT_EQ(fixed(larger_value).text, larger);
        EXPECT_EQ(fixed(smaller_value).text, smaller);
    }
    // A window outside 1 .. MAX_STEP_COUNT is refused; the outputs stay.
    Sets sets{multiplier(MAX_STEP_COUNT, 1)};
    double larger_value = 5, smaller_value = 6;
    for (int k : {0, MAX_STEP_COUNT + 1}) {
        EXPECT_EQ(exponential_stability_test(1, 1, k, 1, 1, larger_value, smaller_value,
                                             rows(sets).data()),
                  -3);
    }
    EXPECT_EQ(larger_value + smaller_value, 11.0);
    EXPECT_EQ(exponential_stability_test(1, 0, MAX_STEP_COUNT, 1, 1, larger_value, smaller_value,
                                         rows(sets).data()),
              0);
}

TEST(StabilityReport, Texts) {
    const std::string head = "\nTestando estabilidade com o teste da exponencial\n"
                             "Resultado real: exp( 1.000000 ) = 2.718282.\ny( 1.000000 ) = ";
    const std::string bad = "O teste divergiu, o metodo e' consistente mas instavel!\n";
    for (auto [code, larger, smaller, expected] :
         std::vector<std::tuple<int, double, double, std::string>>{
             {0, 2.5937424601, 2.7048138294215294,
              head + "2.593742 para h maior.\ny( 1.000000 ) = 2.704814 para h menor.\n" +
                  "O teste convergiu, o metodo tambem e' estavel!\n"},
             {-2, INFINITY, -INFINITY,
              head + "inf para h maior.\ny( 1.000000 ) = -inf para h menor.\n" + bad},
             {-1, NAN, -1e20,
              head + "nan para h maior.\ny( 1.000000 ) = -100000000000000000000.000000 para h " +
                  "menor.\n" + bad},
             {-3, 1, 2,
              "\nTestando estabilidade com o teste da exponencial\nErro de falta de memoria.\n"}}) {
        testing::internal::CaptureStdout();
        print_stability_report(code, larger, smaller, std::exp(1.0));
        std::fflush(stdout);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), expected) << code;
    }
}

} // namespace
} // namespace ordimet

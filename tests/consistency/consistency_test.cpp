#include "consistency/consistency.hpp"

#include <climits>
#include <cmath>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace ordimet {
namespace {

std::string captured(const std::function<void()>& print) {
    testing::internal::CaptureStdout();
    print();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

TEST(ReduceStep, RemovesOnlyColumnsZeroInEverySet) {
    using Sets = std::vector<std::vector<double>>;
    struct Case {
        int k, reduced;
        Sets sets, after; // the tail past the reduced sets keeps its old values
    } cases[] = {
        {3,
         2,
         {{0, 0, -1, 1, 0, -0.5, 1.5, 0}, {0, -1, 1, 0, 0, 1, 0, 0}},
         {{0, -1, 1, -0.5, 1.5, 0, 1.5, 0}, {-1, 1, 0, 1, 0, 0, 0, 0}}},
        {4, 2, {{0, -0.0, 1, 2, 3, 0, 0, 4, 5, 6}}, {{1, 2, 3, 4, 5, 6, 0, 4, 5, 6}}},
        {1, 1, {{0, 1, 0, 1}, {1, 1, 0, 1}}, {{0, 1, 0, 1}, {1, 1, 0, 1}}},
        {1, 1, {{0, 1, 2, 1}, {1e-300, 1, 0, 1}}, {{0, 1, 2, 1}, {1e-300, 1, 0, 1}}},
        {2, 0, {{0, 0, 7, 0, 0, 8}}, {{7, 8, 7, 0, 0, 8}}},
        {2, 0, {{0, 0, 0, 0, 0, 0}}, {{0, 0, 0, 0, 0, 0}}}, // all zero: the top column stays
    };
    for (Case& c : cases) {
        std::vector<double*> table;
        for (auto& set : c.sets) {
            table.push_back(set.data());
        }
        reduce_step(c.k, static_cast<int>(table.size()), table.data());
        EXPECT_EQ(c.k, c.reduced);
        EXPECT_EQ(c.sets, c.after);
    }
}

TEST(Factorial, ExactUpTo20AndDoubleBeyond) {
    EXPECT_EQ(factorial(-5), 1);
    EXPECT_EQ(factorial(13), 6227020800);
    EXPECT_EQ(factorial(20), 2432902008176640000);
    EXPECT_EQ(factorial(21), -1);
    EXPECT_NEAR(factorial_as_double(170) / 7.257415615307994e306, 1.0, 1e-14);
    EXPECT_TRUE(std::isinf(factorial_as_double(170) * 171.0)); // the shortcut's premise
    EXPECT_TRUE(std::isinf(factorial_as_double(std::int64_t{INT_MAX} + 170)));
}

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double never = 0.0000008; // every C_i of {0, never, never, 0} stays below tolerance
const double below = std::nextafter(ZERO_TOLERANCE, 0.0);

TEST(AlgorithmConsistency, ExamplesAndBoundaries) {
    struct Case {
        int k, m;
        std::vector<double> set;
        int q;
        std::int32_t implicit;
        const char *coefficient, *constant;
    } cases[] = {
        {1, 1, {-1, 1, 1, 0}, 2, 0, "0.500000", "0.500000"},
        {1, 1, {-1, 1, 0, 1}, 2, 1, "-0.500000", "-0.500000"},
        {1, 1, {-1, 1, 0.5, 0.5}, 3, 1, "-0.083333", "-0.083333"},
        {2, 1, {0, -1, 1, -0.5, 1.5, 0}, 3, 0, "0.416667", "0.416667"},
        {2,
         1,
         {0.3333333333, -1.3333333333, 1, 0, 0, 0.6666666667},
         3,
         1,
         "-0.222222",
         "-0.333333"},
        {2,
         2,
         {1, -2, 1, 0.0833333333, 0.8333333333, 0.0833333333},
         6,
         1,
         "-0.004167",
         "-0.004167"},
        {2, 2, {1, -2, 1, 0, 1, 0}, 4, 0, "0.083333", "0.083333"},
        {1, 1, {-1, 1, 0.5, 0}, 1, 0, "0.500000", "1.000000"},
        {1, 1, {-1, 2, 1, 0}, 0, 0, "1.000000", "1.000000"},
        {1, 1, {-1, 1, 0, 0}, NOT_COMPUTABLE, 0, "1.000000", "0.000000"}, // C_q kept
        {1, 2, {-1, 1, 0, 0.5}, 1, 1, "1.000000", "2.000000"},            // q below m
        {1, 1, {-1, 2, 5, -0.0}, 0, 0, "1.000000", "0.200000"},           // B[k] = -0: explicit
        {1, 1, {0, 0, 0, 1e-6}, 1, 1, "-0.000001", "-1.000000"}, // sum and |C_1| exactly 1e-6
        {1, 1, {0, 0, 0, below}, NOT_COMPUTABLE, 1, "0.000000", "0.000000"},
        {1, 2, {-1e-6, 1e-6, 0, 0.5}, 1, 1, "0.000001", "0.000002"}, // C_1 exactly 1e-6
        {1, 1, {0, never, never, 0}, NOT_COMPUTABLE, 0, "0.000000", "0.000000"},
        {1, 1, {0, inf, 1, 0}, 0, 0, "inf", "inf"},
        {1, 1, {-inf, inf, 1, NAN}, NOT_COMPUTABLE, 1, "0.000000", "0.000000"},
        {1, 5000, {0, 0, 1, 0}, 5000, 0, "-1.000000", "-1.000000"}, // past the skipped span
        {1, INT_MAX - 1, {0, 0, -1, 1 + 0x1p-20}, INT_MAX, 1, "-1.000001", "-1048577.000000"},
        {1, INT_MAX, {0, 0, -1, 1 + 0x1p-20}, NOT_COMPUTABLE, 1, "0.000000", "0.000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "k=" << c.k << " m=" << c.m << " q=" << c.q);
        AlgorithmResult r{};
        r.error_index = algorithm_consistency(c.k, c.m, c.set.data(), r.implicit,
                                              r.error_coefficient, r.error_constant);
        EXPECT_EQ(r.error_index, c.q);
        EXPECT_EQ(r.implicit, c.implicit);
        EXPECT_STREQ(fixed(r.error_coefficient).text, c.coefficient);
        EXPECT_STREQ(fixed(r.error_constant).text, c.constant);
    }
}

TEST(AlgorithmConsistency, LongestStepEndsForAnyOrder) {
    for (const int m : {1, INT_MAX}) {
        std::vector<double> set(2 * MAX_STEP_COUNT + 2, 0.0);
        set[0] = set[MAX_STEP_COUNT + 1] = 5e-7; // C_0 and C_m just below tolerance
        AlgorithmResult r{};
        EXPECT_EQ(algorithm_consistency(MAX_STEP_COUNT, m, set.data(), r.implicit,
                                        r.error_coefficient, r.error_constant),
                  NOT_COMPUTABLE);
    }
}

TEST(AlgorithmConsistency, ReportsEachAlgorithmInOrder) {
    double zeros[] = {0, 0, 0, 0}, euler[] = {-1, 1, 1, 0};
    double* table[] = {zeros, euler};
    AlgorithmResult results[2];
    analyse_algorithms(1, 1, 2, table, results);
    EXPECT_EQ(captured([&] { report_algorithms(1, 2, results); }),
              "\nAlgoritmo 1\nNao e' possivel calcular a consistencia deste algoritmo!\n"
              "\nAlgoritmo 2\nEste algoritmo e' explicito.\nCoeficiente de erro: C[ 2 ] = "
              "0.500000.\nConstante de erro: 0.500000.\nEste algoritmo e' consistente!!\n"
              "A ordem de consistencia do algoritmo e' 1.\n");
}

TEST(MethodConsistency, LowersToSmallestIndexAndReports) {
    using Pairs = std::vector<std::pair<int, double>>; // (error_index, error_coefficient)
    struct Case {
        int m;
        Pairs before, after;
        const char* printed;
    } cases[] = {
        {1,
         {{2, 0.5}, {3, -0.08}, {2, -0.5}},
         {{2, 0.5}, {2, 0.0}, {2, -0.5}},
         "\nA ordem de consistencia do metodo e' 1.\n"},
        {1, {{2, 0.5}, {1, 0.5}}, {{1, 0.0}, {1, 0.5}}, "\nEste metodo e' inconsistente!\n"},
        {1,
         {{NOT_COMPUTABLE, 0.0}, {2, 0.5}},
         {{NOT_COMPUTABLE, 0.0}, {NOT_COMPUTABLE, 0.0}},
         "\nTodos os algoritmos devem ter consistencias calculaveis!\n"},
        {2, {{6, -0.004}}, {{6, -0.004}}, "\nA ordem de consistencia do metodo e' 4.\n"},
        {2, {{2, 1.0}}, {{2, 1.0}}, "\nEste metodo e' inconsistente!\n"},
    };
    for (const Case& c : cases) {
        std::vector<AlgorithmResult> results;
        for (const auto& [q, coefficient] : c.before) {
            results.push_back({1, q, coefficient, 0.25});
        }
        method_consistency(static_cast<int>(results.size()), results.data());
        Pairs after;
        for (const AlgorithmResult& r : results) {
            after.emplace_back(r.error_index, r.error_coefficient);
            EXPECT_EQ(r.implicit + r.error_constant, 1.25); // untouched
        }
        EXPECT_EQ(after, c.after);
        EXPECT_EQ(captured([&] { report_method_consistency(c.m, results[0].error_index); }),
                  c.printed);
    }
}

} // namespace
} // namespace ordimet

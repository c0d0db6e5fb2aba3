#include "consistency/consistency.hpp"

#include <climits>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

namespace ordimet {
namespace {

TEST(ReduceStep, CompactsEverySetAndLeavesTheTail) {
    std::vector<double> a{0, 0, -1, 1, 0, -0.5, 1.5, 0}, b{0, -1, 1, 0, 0, 1, 0, 0};
    double* table[] = {a.data(), b.data()};
    int k = 3;
    reduce_step(k, 2, table);
    EXPECT_EQ(k, 2);
    EXPECT_EQ(a, (std::vector<double>{0, -1, 1, -0.5, 1.5, 0, 1.5, 0}));
    EXPECT_EQ(b, (std::vector<double>{-1, 1, 0, 1, 0, 0, 0, 0}));
}

TEST(Factorial, ExactUpTo20AndDoubleBeyond) {
    EXPECT_EQ(factorial(-5), 1);
    EXPECT_EQ(factorial(13), 6227020800);
    EXPECT_EQ(factorial(20), 2432902008176640000);
    EXPECT_EQ(factorial(21), FACTORIAL_TOO_LARGE);
    // The doubles nearest to the exact factorials; a running product of
    // rounded doubles misses each of these by one or more units in the last place.
    const std::pair<std::int64_t, double> nearest[] = {
        {28, 0x1.ec92dd23d6967p+97}, {100, 0x1.b30964ec395dcp+524}, {170, 0x1.4ab7864418639p+1019}};
    for (const auto& [n, value] : nearest) {
        EXPECT_EQ(factorial_as_double(n), value) << n << "!";
    }
    EXPECT_TRUE(std::isinf(factorial_as_double(170) * 171.0)); // the shortcut's premise
    EXPECT_TRUE(std::isinf(factorial_as_double(std::int64_t{INT_MAX} + 170)));
}

TEST(AlgorithmConsistency, RecordOfAnAlgorithmThatCannotBeComputed) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct Case {
        std::vector<double> set;
        std::int32_t implicit;
        double coefficient;
    } cases[] = {
        {{-1, 1, 0, 0}, 0, 1.0}, // B sum zero: C_q kept
        {{0, 0, 0, std::nextafter(ZERO_TOLERANCE, 0.0)}, 1, 0.0},
        {{-inf, inf, 1, NAN}, 1, 0.0}, // the scan ends without an index
    };
    for (const Case& c : cases) {
        AlgorithmResult r{7, 7, 9.0, 9.0};
        r.error_index = algorithm_consistency(1, 1, c.set.data(), r.implicit, r.error_coefficient,
                                              r.error_constant);
        EXPECT_EQ(std::tie(r.error_index, r.implicit, r.error_coefficient, r.error_constant),
                  std::make_tuple(NOT_COMPUTABLE, c.implicit, c.coefficient, 0.0));
    }
}

TEST(MethodConsistency, LowersOnlyTheIndexAndCoefficientOfHigherRecords) {
    AlgorithmResult results[] = {{1, 3, -0.08, 0.25}, {0, 2, 0.5, 0.5}};
    method_consistency(2, results);
    for (const AlgorithmResult& r : results) {
        EXPECT_EQ(r.error_index, 2);
    }
    EXPECT_EQ(
        std::tie(results[0].implicit, results[0].error_coefficient, results[0].error_constant),
        std::make_tuple(1, 0.0, 0.25));
    EXPECT_EQ(results[1].error_coefficient, 0.5);
}

} // namespace
} // namespace ordimet

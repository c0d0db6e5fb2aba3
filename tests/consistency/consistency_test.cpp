#include "consistency/consistency.hpp"

#include <climits>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <utility>

namespace ordimet {
namespace {

// The factorials the error coefficients are divided by: no input shows them,
// since a C_i that they change is far below the printed digits.
TEST(Factorial, ExactUpTo20AndNearestDoubleBeyond) {
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

} // namespace
} // namespace ordimet

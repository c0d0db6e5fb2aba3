#include "driver/support/support.hpp"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace ordimet {
namespace {

TEST(Fixed, WritesLikePercentLfWithAFieldWidth) {
    EXPECT_STREQ(fixed(0.5).text, "0.500000");
    EXPECT_STREQ(fixed(-1.0, 10).text, " -1.000000");
    EXPECT_STREQ(fixed(1234.5, 10).text, "1234.500000");
    EXPECT_STREQ(fixed(-1e-17, 10).text, " -0.000000");
    EXPECT_STREQ(fixed(0.0000005).text, "0.000000"); // rounds half to even on the binary value
    EXPECT_STREQ(fixed(2.5e-7, 9).text, " 0.000000");
    const std::string largest = fixed(std::numeric_limits<double>::max()).text;
    EXPECT_EQ(largest.size(), 309u + 7u);
    EXPECT_EQ(largest.substr(0, 6), "179769");
}

TEST(Fixed, SpellsNonFiniteValuesTheSameEverywhere) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_STREQ(fixed(inf).text, "inf");
    EXPECT_STREQ(fixed(-inf, 10).text, "      -inf");
    EXPECT_STREQ(fixed(std::nan(""), 9).text, "      nan");
    EXPECT_STREQ(fixed(-std::nan("")).text, "nan");
}

TEST(Allocation, OversizedRequestsAreRefusedWithoutAnAllocation) {
    EXPECT_EQ(alloc_pointer_table(-1), nullptr);
    EXPECT_EQ(alloc_block(SIZE_MAX / 4, 8), nullptr);
    double* slot = reinterpret_cast<double*>(&slot);
    alloc_doubles(slot, SIZE_MAX / 2);
    EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(alloc_matrix(MAX_MATRIX_DIMENSION + 1), nullptr);
    EXPECT_EQ(alloc_matrix(-1), nullptr);
    RowTable matrix = alloc_matrix(3);
    ASSERT_NE(matrix, nullptr);
    matrix[2][3] = 1.0; // every row holds d + 1 doubles (the sanitizer build checks)
    free_rows(matrix, 3);
}

} // namespace
} // namespace ordimet

#include "driver/support/support.hpp"
#include "driver/run.hpp"

#include <cmath>
#include <cstdint>
#include <cstdio>
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

TEST(Allocation, TablesStartEmptyAndReleaseWhatTheyHold) {
    RowTable table = alloc_pointer_table(3);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table[0], nullptr);
    EXPECT_EQ(table[2], nullptr);
    alloc_doubles(table[1], 4);
    ASSERT_NE(table[1], nullptr);
    free_rows(table, 3); // an empty row is skipped; the sanitizer build checks for leaks
    free_rows(nullptr, 5);
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
    matrix[2][3] = 1.0; // every row holds d + 1 doubles
    free_rows(matrix, 3);
}

std::string banner(const char* kind) {
    ::testing::internal::CaptureStdout();
    print_method_kind(kind);
    std::fflush(stdout);
    return ::testing::internal::GetCapturedStdout();
}

TEST(Driver, MethodKindBanner) {
    EXPECT_EQ(banner("SI"), "O metodo dado e' simples.\n");
    EXPECT_EQ(banner("CO"), "O metodo dado e' composto.\n");
    EXPECT_EQ(banner("CI"), "O metodo dado e' ciclico.\n");
    EXPECT_EQ(banner("ci"), "");
    EXPECT_EQ(banner("SIX"), "");
}

TEST(Driver, ArgumentRules) {
    ::testing::internal::CaptureStdout(); // the usage text and the prompts
    EXPECT_EQ(check_arguments(3, "SI"), 0);
    EXPECT_EQ(check_arguments(4, "CO"), 0);
    EXPECT_EQ(check_arguments(9, "CI"), 0);
    EXPECT_EQ(check_arguments(1, nullptr), -1);
    EXPECT_EQ(check_arguments(2, "SI"), -1);
    EXPECT_EQ(check_arguments(4, "SI"), -1);
    EXPECT_EQ(check_arguments(3, "CO"), -1);
    EXPECT_EQ(check_arguments(3, "CI"), -1);
    EXPECT_EQ(check_arguments(4, "co"), -1);
    std::fflush(stdout);
    ::testing::internal::GetCapturedStdout();
}

} // namespace
} // namespace ordimet

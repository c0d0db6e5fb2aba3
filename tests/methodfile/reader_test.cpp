#include "methodfile/methodfile.hpp"
#include "support/temp_files.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

namespace ordimet {
namespace {

struct ReadOutcome {
    int code;
    int k;
    int m;
    std::vector<double> set; // empty when the slot stayed empty
};

ReadOutcome read_content(const std::string& content) {
    const testing::TempDir dir;
    const std::string name = dir.write("method.txt", content);
    ReadOutcome out{0, 77, 77, {}};
    CoefficientSet slot = nullptr;
    out.code = read_method_file(name.c_str(), out.k, out.m, slot);
    if (slot != nullptr) {
        out.set.assign(slot, slot + 2 * out.k + 2);
        release_block(slot);
    }
    return out;
}

struct ShapeCase {
    const char* what;
    std::string content;
    int code;
};

class FileShape : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(FileShape, GivesItsResultCode) {
    EXPECT_EQ(read_content(GetParam().content).code, GetParam().code) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Reader, FileShape,
    ::testing::Values(
        ShapeCase{"one line", "1 1 -1 1 0.5 0.5", 0},
        ShapeCase{"one per line, blank lines after", "1\n1\n-1\n1\n0.5\n0.5\n\n\n", 0},
        ShapeCase{"CR LF line ends", "1 1\r\n-1 1\r\n0.5 0.5\r\n", 0},
        ShapeCase{"CR-only line ends", "1 1\r-1 1\r0.5 0.5\r", 0},
        ShapeCase{"last number missing", "1 1 -1 1 0.5", -1},
        ShapeCase{"a seventh number", "1 1 -1 1 0.5 0.5 7", -1},
        ShapeCase{"a word after the last number", "1 1 -1 1 0.5 0.5 fim", -1},
        ShapeCase{"a word in place of a coefficient", "1 1 -1 um 0.5 0.5", -2},
        ShapeCase{"a word in place of the step", "um 1 -1 1 0.5 0.5", -2},
        ShapeCase{"empty file", "", -1}, ShapeCase{"white space only", " \t\r\n\v\f  \n", -1},
        ShapeCase{"step written as 2.5", "2.5 1 0 -1 1 0 0 1", -2},
        ShapeCase{"step -1", "-1 1 -1 1 0.5 0.5", -1}, ShapeCase{"step -2", "-2 1", -2},
        ShapeCase{"order -1", "1 -1 -1 1 0.5 0.5", -1},
        ShapeCase{"order -2", "1 -2 -1 1 0.5 0.5", -2},
        ShapeCase{"order 0 passes the reader", "1 0 -1 1 0.5 0.5", 0},
        ShapeCase{"order -5 passes the reader", "1 -5 -1 1 0.5 0.5", 0},
        ShapeCase{"Ctrl-Z ends the content", "1 1 -1 1 0.5 0.5\x1a garbage 1 2 3", 0},
        ShapeCase{"Ctrl-Z in the middle of a number",
                  "1 1 -1 1 0.5 0.\x1a"
                  "5 9",
                  0},
        ShapeCase{"Ctrl-Z before the last number", "1 1 -1 1 0.5 \x1a 0.5", -1},
        ShapeCase{"inf is a word", "1 1 -1 1 0.5 inf", -2},
        ShapeCase{"nan is a word", "1 1 -1 1 nan 0.5", -2},
        ShapeCase{"hexadecimal reads as 0 then a word", "1 1 -1 1 0.5 0x1p3", -1},
        ShapeCase{"a lone sign", "1 1 -1 1 0.5 -", -2},
        ShapeCase{"a lone point", "1 1 -1 1 0.5 .", -2},
        ShapeCase{"an exponent without digits", "1 1 -1 1 0.5 1e", -2},
        ShapeCase{"an exponent sign without digits", "1 1 -1 1 0.5 1e+ 2", -2},
        ShapeCase{"a decimal comma", "1 1 -1 1 0,5 0.5", -2},
        ShapeCase{"a NUL byte", std::string("1 1 -1 1 0.5 \0", 14), -2},
        ShapeCase{"binary garbage", "\x7f\x45\x4c\x46\x02\x01", -2},
        ShapeCase{"step beyond int", "99999999999 1 -1 1 0.5 0.5", -2},
        ShapeCase{"order beyond int", "1 -99999999999 -1 1 0.5 0.5", -2},
        ShapeCase{"a megabyte of digits as the step", std::string(1 << 20, '7') + " 1", -2},
        ShapeCase{"step above the limit", "10001 1", -3},
        ShapeCase{"largest int step", "2147483647 1", -3},
        ShapeCase{"smallest int step is negative", "-2147483648 1 what ever", 0}));

TEST(Reader, HandsBackStepOrderAndSet) {
    ReadOutcome out = read_content("1 1 -1 1 0.5 0.5");
    EXPECT_EQ(std::tie(out.k, out.m), std::make_tuple(1, 1));
    EXPECT_EQ(out.set, (std::vector<double>{-1, 1, 0.5, 0.5}));
    EXPECT_EQ(read_content("0 1 3 4").set, (std::vector<double>{3, 4}));
    out = read_content("-3 1 anything at all"); // a negative step leaves the slot empty
    EXPECT_EQ(std::tie(out.code, out.k, out.m), std::make_tuple(0, -3, 1));
    EXPECT_TRUE(out.set.empty());
    out = read_content("2 x"); // what was read goes back with the failure
    EXPECT_EQ(std::tie(out.code, out.k, out.m), std::make_tuple(-2, 2, -2));
    std::string largest = std::to_string(MAX_STEP_COUNT) + " 1";
    for (int i = 0; i < 2 * MAX_STEP_COUNT + 2; ++i) {
        largest += " 1";
    }
    EXPECT_EQ(read_content(largest).set.size(), 2u * MAX_STEP_COUNT + 2);
}

// Reads one coefficient written as `text` (the only coefficient of a step-0
// file whose second coefficient is 0).
double coefficient(const std::string& text) {
    const ReadOutcome out = read_content("0 1 " + text + " 0");
    EXPECT_EQ(out.code, 0) << text;
    return out.set.empty() ? std::nan("") : out.set[0];
}

TEST(Reader, RealNumberGrammar) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(coefficient("0.1"), 0.1);
    EXPECT_EQ(coefficient("+.5"), 0.5);
    EXPECT_EQ(coefficient("5."), 5.0);
    EXPECT_EQ(coefficient("-2.5E-3"), -2.5e-3);
    EXPECT_EQ(coefficient("1e+2"), 100.0);
    EXPECT_EQ(coefficient("000123.4500"), 123.45);
    EXPECT_EQ(coefficient("1e999"), inf);
    EXPECT_EQ(coefficient("-1e999"), -inf);
    EXPECT_EQ(coefficient("1e-999"), 0.0);
    EXPECT_TRUE(std::signbit(coefficient("-0")));
    EXPECT_TRUE(std::signbit(coefficient("-1e-999")));
    EXPECT_EQ(coefficient("4.9406564584124654e-324"), std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(coefficient("1e99999999999999999999"), inf);
    EXPECT_EQ(coefficient("0." + std::string(5000, '0') + "1e5000"), 0.1);
    EXPECT_EQ(coefficient(std::string(400, '9')), inf);
}

TEST(Reader, RoundsCorrectlyBeyondTheKeptDigits) {
    // 2^53 + 1 lies exactly halfway between two doubles: it rounds to even,
    // unless a digit far behind the point tips it upwards.
    EXPECT_EQ(coefficient("9007199254740993"), 9007199254740992.0);
    EXPECT_EQ(coefficient("9007199254740993." + std::string(2000, '0') + "1"), 9007199254740994.0);
    EXPECT_EQ(coefficient("9007199254740993" + std::string(2000, '0') + "e-2000"),
              9007199254740992.0);
}

} // namespace
} // namespace ordimet

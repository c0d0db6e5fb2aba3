// Prescribed polynomials as the command line gives them: numbers read
// exactly, coefficient lists, roots and complex pairs multiplied out.

#include "design/families/polynomial_text.hpp"

#include <gtest/gtest.h>
#include <span>
#include <string>
#include <vector>

namespace ordimet::design {
namespace {

std::string joined(const std::vector<Rational>& values) {
    std::string text;
    for (const Rational& value : values) {
        if (!text.empty()) {
            text += ' ';
        }
        text += value.text();
    }
    return text;
}

struct Row {
    const char* text;
    const char* expected; // the fractions, or nullptr when refused
    const char* bad = ""; // refused: the text named
};

constexpr Row COEFFICIENTS[] = {
    {"1 -2 1", "1 -2 1"},
    {"  0.5\t-1/3\n+2e1 1.25E-2 .5 5. -0 +7/14 ", "1/2 -1/3 20 1/80 1/2 5 0 1/2"},
    {"", ""},
    {"1/0", nullptr, "1/0"},
    {"1/-2", nullptr, "1/-2"},
    {"-1/2/3", nullptr, "-1/2/3"},
    {"1.5/2", nullptr, "1.5/2"},
    {"1 /2", nullptr, "/2"},
    {"1e", nullptr, "1e"},
    {"e1", nullptr, "e1"},
    {".", nullptr, "."},
    {"-", nullptr, "-"},
    {"1..2", nullptr, "1..2"},
    {"1.2.3", nullptr, "1.2.3"},
    {"inf", nullptr, "inf"},
    {"nan", nullptr, "nan"},
    {"0x10", nullptr, "0x10"},
    {"1,5", nullptr, "1,5"},
    {"2 1e401", nullptr, "1e401"},
    {"1e-401", nullptr, "1e-401"},
    {"1e+0000400", nullptr, "1e+0000400"}, // more exponent digits than read
};

using Parse = bool (*)(std::string_view, std::vector<Rational>&, std::string&);

void expect_rows(std::span<const Row> rows, Parse parse) {
    for (const Row& row : rows) {
        std::vector<Rational> values;
        std::string bad;
        const bool read = parse(row.text, values, bad);
        if (row.expected == nullptr) {
            EXPECT_FALSE(read) << row.text;
            EXPECT_EQ(bad, row.bad) << row.text;
        } else {
            EXPECT_TRUE(read) << row.text << ": " << bad;
            EXPECT_EQ(joined(values), row.expected) << row.text;
        }
    }
}

TEST(PolynomialText, Coefficients) {
    expect_rows(COEFFICIENTS, parse_coefficients);
}

TEST(PolynomialText, NumbersAtTheLimits) {
    Rational value;
    EXPECT_TRUE(parse_number("1e400", value));
    EXPECT_TRUE(parse_number("-1e-400", value));
    EXPECT_TRUE(parse_number(std::string(MAX_NUMBER_LENGTH, '7'), value));
    EXPECT_FALSE(parse_number(std::string(MAX_NUMBER_LENGTH + 1, '7'), value));
    EXPECT_TRUE(parse_number("0.000000000000000000001", value));
    EXPECT_EQ(value.text(), "1/1000000000000000000000");
}

constexpr Row ROOTS[] = {
    {"1 1 (0,1)", "1 -2 2 -2 1"},
    {"( 1/2 , 1 )", "1 -1 1"},
    {"(-1/2,1)(1/2,1)", "1 0 1 0 1"},
    {"0 0 0", "0 0 0 1"},
    {"2 -0.5", "-1 -3/2 1"},
    {"", "1"},
    {"(1,1)", nullptr, "(1,1)"}, // re^2 = mod2: two real roots, to be written as such
    {"(0,-1)", nullptr, "(0,-1)"},
    {"(0,1", nullptr, "(0,1"},
    {"(0 1)", nullptr, "(0 1)"},
    {"(0,1,2)", nullptr, "(0,1,2)"},
    {"1)", nullptr, "1)"},
    {"1 (a,1)", nullptr, "(a,1)"},
    {"1 x", nullptr, "x"},
};

TEST(PolynomialText, Roots) {
    expect_rows(ROOTS, parse_roots);
}

} // namespace
} // namespace ordimet::design

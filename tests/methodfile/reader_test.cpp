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
    const scratch::TempDir dir;
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

// What only the reader itself shows: the result code where the program's
// message is the same for several codes, and what goes back with it.
TEST(Reader, ResultCodes) {
    EXPECT_EQ(read_content("1 1 -1 1 0.5 0.\x1a"
                           "5 9")
                  .code,
              LOAD_OK); // Ctrl-Z ends a number
    EXPECT_EQ(read_content("1 1 -1 1 0.5 0.5 \x1a").code, LOAD_OK);
    EXPECT_EQ(read_content(std::string("1 1 -1 1 0.5 \0", 14)).code, LOAD_UNREADABLE);
    EXPECT_EQ(read_content("99999999999 1 -1 1 0.5 0.5").code, LOAD_UNREADABLE);
    EXPECT_EQ(read_content("1 -99999999999 -1 1 0.5 0.5").code, LOAD_UNREADABLE);
    EXPECT_EQ(read_content("-21474836480 1").code,
              LOAD_UNREADABLE); // not INT_MIN with a digit dropped
    EXPECT_EQ(read_content("000000000000002147483647 1").code,
              LOAD_NO_MEMORY); // leading zeros are fine
    EXPECT_EQ(read_content(std::string(1 << 20, '7') + " 1").code, LOAD_UNREADABLE);
    EXPECT_EQ(read_content("10001 1").code, LOAD_NO_MEMORY);
}

TEST(Reader, HandsBackStepOrderAndSet) {
    ReadOutcome out = read_content("1 1 -1 1 0.5 0.5");
    EXPECT_EQ(std::tie(out.k, out.m), std::make_tuple(1, 1));
    EXPECT_EQ(out.set, (std::vector<double>{-1, 1, 0.5, 0.5}));
    EXPECT_EQ(read_content("0 1 3 4").set, (std::vector<double>{3, 4}));
    out = read_content("-3 1 anything at all"); // a negative step leaves the slot empty
    EXPECT_EQ(std::tie(out.code, out.k, out.m), std::make_tuple(LOAD_OK, -3, 1));
    EXPECT_TRUE(out.set.empty());
    out = read_content("2 x"); // what was read goes back with the failure
    EXPECT_EQ(std::tie(out.code, out.k, out.m),
              std::make_tuple(LOAD_UNREADABLE, 2, READ_NO_NUMBER));
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

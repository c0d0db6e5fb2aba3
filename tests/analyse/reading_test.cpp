#include "analyse/reading/reading.hpp"
#include "support/temp_files.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ordimet::analyse {
namespace {

struct OneReading {
    Failure code;
    CoefficientReading reading;
};

// Reads `text` as the first coefficient of a step-0 file.
OneReading read_coefficient_text(const std::string& text) {
    const ordimet::scratch::TempDir dir;
    const std::string name = dir.write("method.txt", "0 1 " + text + " 0");
    ExactMethodFile file;
    OneReading out{read_exact_method_file(name.c_str(), file), {}};
    if (!file.coefficients.empty()) {
        out.reading = file.coefficients[0];
    }
    return out;
}

// The fractions a writer meant were found by an independent model (the
// simplest fraction of each interval by continued fractions, in Python's
// exact Fraction type), not by this reader.
TEST(ExactReading, DecimalsAndFractions) {
    const std::string one_over_1e320 = "1/1" + std::string(320, '0');
    struct Case {
        const char* text;
        const char* as_written;
        const char* intended;
        double value;
    };
    const Case cases[] = {
        {"0.1", "1/10", "1/10", 0.1},
        {"-2.5e-3", "-1/400", "-1/400", -2.5e-3},
        {"1e5", "100000", "100000", 1e5},
        {"-0", "0", "0", -0.0},
        {"0.000000000000000000", "0", "0", 0.0},
        // Short decimals: the simplest fraction strictly within half a unit
        // of the last digit, when q^2 x 100 <= 10^d.
        {"0.33333333333333", "33333333333333/100000000000000", "1/3", 0.33333333333333},
        {"0.3333", "3333/10000", "1/3", 0.3333},
        {"0.416667", "416667/1000000", "5/12", 0.416667},
        {"-0.0833333333", "-833333333/10000000000", "-1/12", -0.0833333333},
        {"0.348611", "348611/1000000", nullptr, 0.348611}, // 251/720: too many candidates
        {"0.3486111111", "3486111111/10000000000", "251/720", 0.3486111111},
        {"0.3", "3/10", nullptr, 0.3},   // 1/3 would need 3 digits
        {"0.12", "3/25", nullptr, 0.12}, // 1/8 lies on the edge, not within
        {"1.44", "36/25", nullptr, 1.44},
        {"1.1", "11/10", nullptr, 1.1},
        {"1.00000000000000", "1", "1", 1.0},
        // Within half a unit of the last digit.
        {"0.3333333333333333", "3333333333333333/10000000000000000", "1/3", 1.0 / 3},
        // Only as close as the shortest printing of the double.
        {"0.34861111111111110", "3486111111111111/10000000000000000", "251/720", 251.0 / 720},
        {"0.33333333333333331", "33333333333333331/100000000000000000", "1/3", 1.0 / 3},
        {"-0.66666666666666663", "-66666666666666663/100000000000000000", "-2/3", -2.0 / 3},
        {"0.0083333333333333332", "20833333333333333/2500000000000000000", "1/120", 1.0 / 120},
        // A decimal that is itself the coefficient keeps its reading.
        {"0.12345678901234567", "12345678901234567/100000000000000000", "17832647/144444442",
         0.12345678901234567},
        // Beyond 128-bit bounds: 40 digits, and a double below 2^-73.
        {"0.3333333333333333333333333333333333333333",
         "3333333333333333333333333333333333333333/10000000000000000000000000000000000000000",
         "1/3", 1.0 / 3},
        {"1.2345678901234567e-30",
         "12345678901234567/10000000000000000000000000000000000000000000000",
         "1/810000007290000091935001064341", 1.2345678901234567e-30},
        // An integer has no simpler fraction, whatever rounds to its double.
        {"1152921504606846977", "1152921504606846977", nullptr, 1152921504606846977.0},
        {"1/3", "1/3", "1/3", 1.0 / 3},
        {"-7/2", "-7/2", "-7/2", -3.5},
        {"+6/04", "3/2", "3/2", 1.5},
        {"-0/5", "0", "0", 0.0},
        // Rounded once, to even, as a decimal of the same value would be.
        {"9007199254740993/1", "9007199254740993", "9007199254740993", 9007199254740992.0},
        {one_over_1e320.c_str(), one_over_1e320.c_str(), nullptr, 1e-320}, // a denormal
    };
    for (const Case& c : cases) {
        const OneReading out = read_coefficient_text(c.text);
        ASSERT_EQ(out.code, Failure::NONE) << c.text;
        EXPECT_EQ(out.reading.as_written.text(), c.as_written) << c.text;
        const std::string intended = c.intended != nullptr ? c.intended : c.as_written;
        EXPECT_EQ(out.reading.intended.text(), intended) << c.text;
        EXPECT_EQ(out.reading.two_readings, intended != c.as_written) << c.text;
        EXPECT_EQ(out.reading.value, c.value) << c.text;
    }
}

TEST(ExactReading, Rejects) {
    const std::string digits800(800, '3');
    const std::string zeros400(400, '0');
    struct Case {
        std::string text;
        Failure code;
    };
    const Case cases[] = {
        {"1/0", Failure::ZERO_DENOMINATOR},
        {"0/000", Failure::ZERO_DENOMINATOR},
        {"1/", Failure::UNREADABLE},
        {"/2", Failure::UNREADABLE},
        {"1/-2", Failure::UNREADABLE},
        {"1/+2", Failure::UNREADABLE},
        {"1 /2", Failure::UNREADABLE},
        {"1/ 2", Failure::UNREADABLE},
        {"1.5/2", Failure::UNREADABLE},
        {"1e2/3", Failure::UNREADABLE},
        // A fraction followed directly by what could go on a number is a
        // slip, not two numbers.
        {"1/2.5", Failure::UNREADABLE},
        {"1/2.", Failure::UNREADABLE},
        {"1/2-3", Failure::UNREADABLE},
        {"-1/2+3", Failure::UNREADABLE},
        {"1/2e3", Failure::UNREADABLE},
        {"1/2E-3", Failure::UNREADABLE},
        {"1/2/3", Failure::UNREADABLE},
        {"1e309", Failure::BEYOND_EXACT_LIMITS},
        {"-1e999999999999", Failure::BEYOND_EXACT_LIMITS},
        {"1e-401", Failure::BEYOND_EXACT_LIMITS},
        {"0." + digits800 + "3", Failure::BEYOND_EXACT_LIMITS},
        {digits800 + "3/7", Failure::BEYOND_EXACT_LIMITS},
        {"1/" + digits800 + "7", Failure::BEYOND_EXACT_LIMITS},
        {"1" + zeros400 + "/3", Failure::BEYOND_EXACT_LIMITS}, // no finite double
        // Just inside the limits.
        {"1e-400", Failure::NONE},
        {"0." + digits800, Failure::NONE},
        {digits800 + "/" + digits800, Failure::NONE},
        {"0." + std::string(100000, '0'), Failure::NONE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(read_coefficient_text(c.text).code, c.code) << c.text.substr(0, 40);
    }
    EXPECT_EQ(read_coefficient_text("1e-400").reading.as_written.text(), "1/1" + zeros400);
}

// Loads files of the given contents; "missing" names a file that isn't there.
Failure load(const std::vector<std::string>& contents, std::size_t& failing) {
    const ordimet::scratch::TempDir dir;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < contents.size(); ++i) {
        names.push_back(contents[i] == "missing" ? dir.path("absent")
                                                 : dir.write(std::to_string(i), contents[i]));
    }
    std::vector<const char*> pointers;
    for (const std::string& name : names) {
        pointers.push_back(name.c_str());
    }
    std::vector<ExactMethodFile> files;
    return load_exact_method_files(pointers, files, failing);
}

TEST(ExactReading, CrossChecksInOrdimetsOrder) {
    const std::string step2 = "2 1 0 -1 1 0 0 2";
    // Each alone within the run's long digits, not both together.
    std::string long_digits = "100 1";
    for (int i = 0; i < 202; ++i) {
        long_digits += " 0." + std::string(800, '7');
    }
    std::string largest = std::to_string(MAX_STEP_COUNT) + " 1";
    for (int i = 0; i < 2 * MAX_STEP_COUNT + 2; ++i) {
        largest += " 0";
    }
    struct Case {
        std::vector<std::string> contents;
        Failure code;
        std::size_t failing;
    };
    const Case cases[] = {
        {{step2, "2 1 0 -1 1 1/3 4/3 1/3"}, Failure::NONE, 2},
        {{step2, "3 1 0 0 -1 1 0 0 0 1"}, Failure::DIFFERENT_SHAPES, 1},
        {{step2, "2 2 0 -1 1 0 0 2"}, Failure::DIFFERENT_SHAPES, 1},
        {{step2, "3 1 0 0 -1 1 0"}, Failure::MALFORMED, 1}, // the file's own fault first
        {{step2, "3 1 0 0 -1 1 0 0 0 1", "missing"}, Failure::DIFFERENT_SHAPES, 1},
        {{step2, "missing"}, Failure::UNREADABLE, 1},
        {{step2, "2 1 0 -1 1 0 1/0 2"}, Failure::ZERO_DENOMINATOR, 1},
        {{"1 1 -1 1 1/2.5"}, Failure::UNREADABLE, 0},
        // Decimals keep ordimet's reading: 1.5 then .5.
        {{"1 1 -1 1 1.5.5"}, Failure::NONE, 1},
        {{"1 1 -1 1 1/2\t.5"}, Failure::NONE, 1},
        {{"0 1 1 1", "missing"}, Failure::UNREADABLE, 1},
        {{"0 1 1 1"}, Failure::STEP_NOT_POSITIVE, 1},
        {{"0 0 1 1"}, Failure::STEP_NOT_POSITIVE, 1},
        {{"2 0 0 -1 1 0 0 2"}, Failure::ORDER_NOT_POSITIVE, 1},
        {{"-3 1 x", step2}, Failure::DIFFERENT_SHAPES, 1},
        {{"-3 1 x", "-3 1"}, Failure::STEP_NOT_POSITIVE, 2},
        {{"10001 1"}, Failure::BEYOND_LIMITS, 0},
        {{long_digits}, Failure::NONE, 1},
        {{long_digits, long_digits}, Failure::BEYOND_EXACT_LIMITS, 1},
        {std::vector<std::string>(14, largest), Failure::BEYOND_LIMITS, 13},
    };
    for (const Case& c : cases) {
        std::size_t failing = 99;
        EXPECT_EQ(load(c.contents, failing), c.code) << c.contents[0].substr(0, 20);
        EXPECT_EQ(failing, c.failing) << c.contents[0].substr(0, 20);
    }
}

} // namespace
} // namespace ordimet::analyse

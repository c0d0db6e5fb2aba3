#pragma once

// Reading method files exactly: the same files, tokens, step counts and
// doubles as ordimet's reader, with every coefficient also kept as an exact
// rational. Here, and only here, a coefficient may be a fraction p/q.
//
// A fraction is an optional sign, digits, '/', digits: nothing else, no
// white space around '/', no sign on the denominator, no decimal point or
// exponent in either part ("1/3", "-7/2", "+0/5"; not "1 / 3", "1/-3", "1.5/2").
//
// Limits of the exact reading, which keep a run of the largest files ordimet
// accepts (MAX_TOTAL_COEFFICIENTS coefficients) well under a second: beyond
// them the file is refused with Failure::BEYOND_EXACT_LIMITS, whatever ordimet
// would read. See the constants below.

#include "analyse/exact/rational.hpp"
#include "analyse/model/failure.hpp"
#include "methodfile/methodfile.hpp"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ordimet::analyse {

// At most DecimalNumber::MAX_KEPT_DIGITS (800) significant digits in a
// decimal, or in each part of a fraction: the digits ordimet's conversion
// keeps to round a decimal to a double exactly.
//
// The work of the exact reading grows with the length of the numbers: the
// digits beyond the SHORT_DIGITS-th of each number (numerator and denominator
// counted apart) may add up to at most MAX_LONG_DIGITS in one run. Numbers
// of up to 17 digits, as doubles are printed, cost nothing against it.
inline constexpr std::size_t SHORT_DIGITS = 17;
inline constexpr std::size_t MAX_LONG_DIGITS = std::size_t{1} << 18;

// A non-zero decimal's first significant digit stands at 10^-400 or above:
// its exact value needs a power of ten as long as the exponent written,
// which a file can make a billion digits long. And its value is finite as a
// double (ordimet reads 1e999 as an infinity, which no exact analysis can
// share); the same holds for a fraction.
inline constexpr std::int64_t MIN_LEADING_EXPONENT = -400;

// Decimals written with at least this many significant digits (trailing
// zeros included) are also read as the simplest fraction that rounds to the
// same double: files written with the shortest digits of a double are only
// that close to the fractions they stand for.
inline constexpr int TWO_READINGS_DIGITS = 15;

// A decimal of fewer digits is read as the simplest fraction p/q strictly
// within half a unit of its last digit only when that fraction is clearly
// what its d significant digits determine: when q^2 x SHORT_READING_MARGIN is
// at most 10^d. Left to us: there are about q^2 fractions of denominator at
// most q in a unit interval, so a decimal of d digits has by chance a
// fraction of denominator up to 10^(d/2) within half a unit of it; the margin
// of 100 asks ten times less of q, so that 0.1 stays 1/10 (not 1/7), 0.12
// stays 3/25 (not 1/8) and 1.44 stays 36/25 (not 13/9), while 0.3333 is
// 1/3, 0.416667 is 5/12 and 0.0833333333 is 1/12.
inline constexpr std::int64_t SHORT_READING_MARGIN = 100;

// A coefficient solved for the highest order replaces a written decimal
// only when the decimal has at least this many significant digits (trailing
// zeros included). Left to us: with one or two digits the half unit is 5%
// or 0.5% of the leading digit, wide enough that a deliberately coarse
// method (B = -0.1, 0.7, 0.4 with rho = z^2 - z, exactly of order 2) lies
// within the window of a classical one (Adams-Moulton 2, order 3) that its
// writer need not have meant; from three digits on, a method that close to
// one of higher order is that method written short.
inline constexpr int MIN_SOLVED_DIGITS = 3;

// One coefficient as written in the file.
struct CoefficientReading {
    // The exact value of the text: the decimal as written, or p/q.
    Rational as_written;
    // The fraction reading: the simplest fraction (smallest denominator, then
    // smallest numerator) the writer may have meant, by the rules above, when
    // its denominator is smaller than the decimal's own; otherwise equal to
    // as_written. Always equal for fractions and integers.
    Rational intended;
    // Whether intended differs from as_written.
    bool two_readings = false;
    // How far from as_written a value the writer meant may lie: half a unit
    // of the last written digit of a decimal with digits after its point; 0
    // for fractions and for decimals that are integers as written.
    Rational half_unit;
    // The decimal's significant digits, trailing zeros included (0 for a
    // fraction).
    int significant_digits = 0;
    // Whether the value meant is clear from what is written: a fraction or an
    // integer; a decimal that is itself the simplest fraction within half a
    // unit of its last digit (0.375); or one whose fraction reading passes
    // the rule of SHORT_READING_MARGIN, whatever its number of digits. A
    // polynomial with a coefficient that is not determined may be meant as
    // the one of the highest order for the other polynomial.
    bool determined = true;
    // The double ordimet reads for the same text; for a fraction the
    // correctly rounded p/q.
    double value = 0.0;
};

// One method file read exactly.
struct ExactMethodFile {
    std::string name;
    int k = 0; // step count as written
    int m = 0; // order of the equation
    // 2k + 2 coefficients in file order: A[0 .. k], then B[0 .. k].
    std::vector<CoefficientReading> coefficients;
};

// Reads one method file: Failure::NONE, or UNREADABLE, MALFORMED,
// BEYOND_LIMITS (k beyond MAX_STEP_COUNT, as in ordimet), ZERO_DENOMINATOR or
// BEYOND_EXACT_LIMITS; `out` holds what was read, also on failure. As in
// ordimet, a step or order written as -1 or -2 reads as MALFORMED or
// UNREADABLE, and any other negative step ends the reading with no failure
// and no coefficients: the cross-checks of load_exact_method_files refuse it.
Failure read_exact_method_file(const char* name, ExactMethodFile& out);

// Reads the named files in order and cross-checks them exactly as ordimet
// does (its loading loop): the total-coefficient limit (BEYOND_LIMITS,
// checked before each file after the first), each file's reading, differing
// k or m (DIFFERENT_SHAPES), then k not positive (STEP_NOT_POSITIVE) and m
// not positive (ORDER_NOT_POSITIVE). The files share one budget of
// MAX_LONG_DIGITS. `failing` is the index in `names` of the file at fault
// (names.size() after the last file, as for the two not-positive checks).
// `out` holds the files read so far.
Failure load_exact_method_files(std::span<const char* const> names,
                                std::vector<ExactMethodFile>& out, std::size_t& failing);

} // namespace ordimet::analyse

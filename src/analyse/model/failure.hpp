#pragma once

// Every way the analysis of a method can fail, as one vocabulary: the
// reports turn a failure into its message and its name in the JSON report
// from one table (report/failures.hpp). What ordimet's reader says of a file
// is mapped into it once, where the files are read.

#include <cstdint>
#include <string>

namespace ordimet::analyse {

enum class Failure {
    NONE,
    // One file: it can't be read, or a token is no number (ordimet's words);
    // what the file holds tells most of these apart, each in the JSON report
    // still "unreadable":
    UNREADABLE,
    NOT_FOUND,      // no such file
    IS_DIRECTORY,   // a directory
    NOT_A_NUMBER,   // `token` is no number
    DECIMAL_COMMA,  // `token` is a number written with a comma, `corrected`
    NOT_AN_INTEGER, // the step or the order, `token`, is no integer
    // One file: too few numbers, or something after them (ordimet's words);
    // in the JSON report still "malformed":
    MALFORMED,
    NO_STEP_AND_ORDER,  // the file doesn't start with two numbers
    COEFFICIENT_COUNT,  // `found` coefficients where the step asks `expected`
    TEXT_AFTER_NUMBERS, // `token` after the `expected` coefficients
    // One file: a fraction p/0.
    ZERO_DENOMINATOR,
    // One file: a number beyond the limits of the exact reading.
    BEYOND_EXACT_LIMITS,
    // The files: k above ordimet's largest step, more coefficients than a
    // run of ordimet holds, or memory short.
    BEYOND_LIMITS,
    // The files: k or m differ between them; k or m not positive.
    DIFFERENT_SHAPES,
    STEP_NOT_POSITIVE,
    ORDER_NOT_POSITIVE,
    // The method: CO or CI for an equation of order above 1, which ordimet
    // analyses only for m = 1.
    ORDER_ABOVE_ONE,
    // The method: a reduced step above MAX_EXACT_STEP, refused rather than
    // left to run long.
    STEP_BEYOND_EXACT_LIMIT,
    // An algorithm whose exact coefficients are too wide for the exact
    // analyses (MAX_EXACT_BITS): refused likewise.
    COEFFICIENTS_BEYOND_EXACT_LIMIT,
    // An algorithm whose rho has roots too close to one another or to the
    // unit circle for the bounded certified root isolation: refused likewise.
    ROOTS_BEYOND_EXACT_LIMIT,
};

// The result of analysing the files of one method.
struct AnalysisOutcome {
    Failure failure = Failure::NONE;
    // The file at fault; empty when none is named.
    std::string failing;
    // What the message shows besides the file: the step (STEP_BEYOND_EXACT_LIMIT:
    // the reduced one) and the order as read, the numbers of coefficients
    // expected and found (found_more: more than `found`), the text at fault
    // and how it should have been written.
    std::int64_t step = 0;
    std::int64_t order = 0;
    std::int64_t expected = 0;
    std::int64_t found = 0;
    bool found_more = false;
    std::string token;
    std::string corrected;

    bool failed() const { return failure != Failure::NONE; }
};

} // namespace ordimet::analyse

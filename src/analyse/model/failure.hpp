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
    // One file: it can't be read, or a token is no number.
    UNREADABLE,
    // One file: too few numbers, or something after them.
    MALFORMED,
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
    // STEP_BEYOND_EXACT_LIMIT: the reduced step.
    std::int64_t step = 0;

    bool failed() const { return failure != Failure::NONE; }
};

} // namespace ordimet::analyse

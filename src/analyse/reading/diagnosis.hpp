#pragma once

// What a file that can't be read, or is no valid method file, says of
// itself: enough for a message the user can act on.

#include "analyse/model/failure.hpp"

namespace ordimet::analyse {

// Refines an UNREADABLE or MALFORMED failure of the file outcome.failing,
// whose step and order were read as `k` and `m`: a missing file, a directory,
// the text that is no number (a decimal comma above all), a step or order
// that is no integer, how many coefficients the file has against the 2k + 2
// its step asks for, or what follows them. Only a regular file is read again
// (a FIFO would lose what it holds); the outcome stays as it is when nothing
// more can be told.
void diagnose(int k, int m, AnalysisOutcome& outcome);

} // namespace ordimet::analyse

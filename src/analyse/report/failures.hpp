#pragma once

// What the reports say of a failure: its message and its name in the JSON
// report, both from one table.

#include "analyse/model/failure.hpp"

#include <string>

namespace ordimet::analyse {

// The failure's name in the JSON report ("unreadable", "malformed", ...).
const char* failure_json_name(Failure failure);

// How the message shows the file's name and the text quoted from the file:
// as they are (the JSON report, which keeps them lossless beside), or in
// plain ASCII with control and non-ASCII bytes as \xHH (text on a terminal).
enum class Names { AS_THEY_ARE, PRINTABLE };

// The message of a failure, lines separated by '\n', without a final one.
std::string failure_message(const AnalysisOutcome& outcome, Names names = Names::AS_THEY_ARE);

// Whether the message names the file at fault itself; when it doesn't, the
// text report names it on a line of its own.
bool failure_names_file(Failure failure);

} // namespace ordimet::analyse

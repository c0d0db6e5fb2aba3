#pragma once

// What the reports say of a failure: its message, in Portuguese or in
// English, and its name in the JSON report, all from one table.

#include "analyse/model/failure.hpp"
#include "analyse/report/words.hpp"

#include <span>
#include <string>

namespace ordimet::analyse {

// The failure's name in the JSON report ("unreadable", "malformed", ...).
const char* failure_json_name(Failure failure);

// How the message shows the file's name and the text quoted from the file:
// as they are (the JSON report, which keeps them lossless beside), or in
// plain ASCII with control and non-ASCII bytes as \xHH (text on a terminal).
enum class Names { AS_THEY_ARE, PRINTABLE };

// The message of a failure in the language, lines separated by '\n', without
// a final one. The JSON report's message is always Portuguese, its words
// being part of the document's format.
std::string failure_message(const AnalysisOutcome& outcome, Language language,
                            Names names = Names::AS_THEY_ARE);

// A row of the table of failures: the failure, its name in the JSON report
// and its message in Portuguese and in English. In a message "{file}" stands
// for the file at fault, "{step}" for the reduced step, "{limit}" for
// MAX_EXACT_STEP, and so on.
struct FailureText {
    Failure failure;
    const char* json_name;
    const char* message;
    const char* english;
};

// The whole table; for the tests.
std::span<const FailureText> failure_table();

// Whether the message names the file at fault itself; when it doesn't, the
// text report names it on a line of its own.
bool failure_names_file(Failure failure);

} // namespace ordimet::analyse

#pragma once

// The command line of ordimet-design: a family by name and its step, or a
// prescribed polynomial, and where and how the method goes out. The search
// command has a command line of its own (search/search_command.hpp).

#include "analyse/report/words.hpp"
#include "design/families/families.hpp"

#include <string>

namespace ordimet::design {

using analyse::Language;

// Exit statuses of the program.
inline constexpr int EXIT_MADE = 0;       // the method was made and written
inline constexpr int EXIT_IMPOSSIBLE = 1; // no such method, or it could not be written
inline constexpr int EXIT_USAGE = 2;      // the command line itself is wrong

struct DesignCommand {
    DesignRequest request;
    bool decimals = false; // coefficients as decimals, not fractions
    bool json = false;     // the results as JSON on standard output
    bool force = false;    // --output may replace a regular file
    std::string output;    // --output: the file; empty for standard output
    Language language = Language::PORTUGUESE;
};

// What parse_command_line returns when the method is to be made.
inline constexpr int RUN_DESIGN = -1;

// Parses the command line into `command`. Returns RUN_DESIGN, or the exit
// status to end with at once after the help, the version or a usage error
// has been printed (help and version on standard output, errors on standard
// error; 1 when the help or the version could not be written).
int parse_command_line(int argc, const char* const* argv, DesignCommand& command);

// The message of a method that could not be made, without the program's
// name and with its line end, in the language.
std::string design_failure_message(const DesignedMethod& method, Language language);

} // namespace ordimet::design

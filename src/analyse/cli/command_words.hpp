#pragma once

// The words of a command line, shared by ordimet-analyse and ordimet-design:
// the language it asks for, looked up before it is read so that its own
// mistakes are told in that language, and CLI11's messages in the
// program's words.

#include "analyse/report/words.hpp"

#include <string>

namespace CLI {
class ParseError;
} // namespace CLI

namespace ordimet::analyse {

// English when "--lang en" or "--lang=en" stands before any "--"; the
// program's own Portuguese otherwise (a wrong value is reported later, in
// Portuguese).
Language language_asked(int argc, const char* const* argv);

// The message of a command line that CLI11 could not read, without a line
// end, in the language: a missing argument or value, a word too many, a
// value that is no number; any other mistake with CLI11's own text quoted.
std::string parse_error_text(const CLI::ParseError& error, Language language);

} // namespace ordimet::analyse

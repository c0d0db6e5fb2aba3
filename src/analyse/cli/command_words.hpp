#pragma once

// The words of a command line, shared by ordimet-analyse and ordimet-design:
// the language it asks for, looked up before it is read so that its own
// mistakes are told in that language, and CLI11's messages in the
// program's words.

#include "analyse/report/words.hpp"

#include <CLI/CLI.hpp>
#include <cstdarg>
#include <string>

namespace ordimet::analyse {

// English when "--lang en" or "--lang=en" stands before any "--"; the
// program's own Portuguese otherwise (a wrong value is reported later, in
// Portuguese).
Language language_asked(int argc, const char* const* argv);

// The message of a command line that CLI11 could not read, without a line
// end, in the language: a missing argument or value, a word too many, a
// value that is no number; any other mistake with CLI11's own text quoted.
std::string parse_error_text(const CLI::ParseError& error, Language language);

// CLI11's help in the program's own words: its usage lines (Portuguese,
// translated) in place of the generated one, the labels in the language.
class HelpFormatter : public CLI::Formatter {
  public:
    HelpFormatter(const char* usage, Language language);
    std::string make_usage(const CLI::App*, std::string) const override;

  private:
    const char* usage_;
    Language language_;
};

// "PROGRAM: message" and a line end on standard error, the message a
// Portuguese printf format translated into the language; then the usage
// lines when `usage` is not null (a mistake of the command line).
__attribute__((format(printf, 4, 0))) void print_error(const char* program, const char* usage,
                                                       Language language, const char* portuguese,
                                                       va_list arguments);

} // namespace ordimet::analyse

#pragma once

// Text reports written in the language asked for: every piece of text is
// given in Portuguese and goes out as `say` gives it (report/words.hpp);
// numbers and names go out as they are.

#include "analyse/report/words.hpp"

#include <cstdarg>
#include <string>
#include <string_view>

namespace ordimet::analyse {

struct TextOut {
    std::string& out;
    Language language;

    // The text in the report's language.
    void put(const char* portuguese);
    // A printf format in Portuguese, translated, then filled in.
    __attribute__((format(printf, 2, 3))) void putf(const char* portuguese, ...);
    // The same for a variadic caller that hands on its arguments.
    __attribute__((format(printf, 2, 0))) void vputf(const char* portuguese, va_list arguments);
    // Numbers, names and other text that no language changes.
    void raw(std::string_view text) { out += text; }
    __attribute__((format(printf, 2, 3))) void rawf(const char* format, ...);
    // The text in the report's language, for a caller that puts it together.
    const char* words(const char* portuguese) const { return say(portuguese, language); }
};

} // namespace ordimet::analyse

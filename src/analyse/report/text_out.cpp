#include "analyse/report/text_out.hpp"

#include <cstdarg>
#include <cstdio>

namespace ordimet::analyse {

void TextOut::put(const char* portuguese) {
    out += say(portuguese, language);
}

// Every format here is a literal whose conversions the compiler checks at
// each call, or its translation, which the table's test checks for the same
// conversions in the same order.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"

namespace {

void append_formatted(std::string& out, const char* format, va_list arguments) {
    va_list again;
    va_copy(again, arguments);
    char buffer[512];
    const int length = std::vsnprintf(buffer, sizeof buffer, format, arguments);
    if (length >= 0 && static_cast<std::size_t>(length) < sizeof buffer) {
        out.append(buffer, static_cast<std::size_t>(length));
    } else if (length >= 0) {
        // Only file names make a line this long.
        std::string long_line(static_cast<std::size_t>(length) + 1, '\0');
        std::vsnprintf(long_line.data(), long_line.size(), format, again);
        long_line.pop_back();
        out += long_line;
    }
    va_end(again);
}

} // namespace

void TextOut::putf(const char* portuguese, ...) {
    va_list arguments;
    va_start(arguments, portuguese);
    vputf(portuguese, arguments);
    va_end(arguments);
}

void TextOut::vputf(const char* portuguese, va_list arguments) {
    append_formatted(out, say(portuguese, language), arguments);
}

void TextOut::rawf(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    append_formatted(out, format, arguments);
    va_end(arguments);
}
#pragma GCC diagnostic pop

} // namespace ordimet::analyse

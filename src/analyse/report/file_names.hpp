#pragma once

// File names in the program's output. A name on a POSIX system is any bytes
// but '/' and NUL: the text report and the messages show it in plain ASCII,
// the JSON report keeps it lossless beside its readable form.

#include <cstddef>
#include <string>
#include <string_view>

namespace ordimet::analyse {

// The length of the valid UTF-8 sequence that starts text[0] (text not
// empty), or 0 when none does: a stray continuation byte, an overlong form, a
// surrogate, a value above U+10FFFF or a sequence cut short.
std::size_t utf8_sequence_length(std::string_view text);

bool is_valid_utf8(std::string_view text);

// The bytes in standard base64 (RFC 4648, with padding).
std::string base64(std::string_view bytes);

// The name in plain ASCII for the text report and the messages: every byte
// below 0x20, 0x7F and every byte from 0x80 up as \xHH (two lower-case hex
// digits), so that no name can send a terminal control sequence. The rest is
// as it is.
std::string printable_name(std::string_view name);

} // namespace ordimet::analyse

#pragma once

// A small writer of SVG documents: elements with attributes and text, always
// well-formed XML whatever bytes the text holds.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace ordimet::analyse {

struct SvgAttribute {
    std::string_view name;
    std::string value; // escaped when written
};

// A document being written: its text and the names of the elements still
// open.
struct Svg {
    std::string text;
    std::vector<std::string> open;
};

// Starts a document of the given size in user units (the viewBox is
// 0 0 width height) with its <title>; it is shown pixel_width by
// pixel_height pixels (0: as many as user units).
void svg_begin(Svg& svg, double width, double height, std::string_view title,
               double pixel_width = 0.0, double pixel_height = 0.0);
// <name attributes...> ... until svg_close.
void svg_open(Svg& svg, std::string_view name, std::initializer_list<SvgAttribute> attributes);
void svg_close(Svg& svg);
// <name attributes.../>
void svg_leaf(Svg& svg, std::string_view name, std::initializer_list<SvgAttribute> attributes);
// <name attributes...>text</name>
void svg_text(Svg& svg, std::string_view name, std::initializer_list<SvgAttribute> attributes,
              std::string_view text);
// Closes every element still open; the text is then the whole document.
void svg_end(Svg& svg);

// A coordinate or length in user units: at most two decimals, no exponent,
// no negative zero. A value that is not finite is written as 0 (callers
// leave such points out; this only keeps the document valid).
std::string svg_number(double value);

// Appends text as XML character data or attribute value: &, <, >, " and '
// as references; bytes that are not valid UTF-8, and characters XML 1.0
// does not allow (control characters other than tab, line feed and
// carriage return), as U+FFFD.
void append_xml_escaped(std::string& out, std::string_view text);

} // namespace ordimet::analyse

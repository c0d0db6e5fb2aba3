#include "analyse/pictures/svg.hpp"

#include "analyse/report/file_names.hpp"

#include <cmath>
#include <cstdio>

namespace ordimet::analyse {
namespace {

constexpr std::string_view REPLACEMENT = "\xEF\xBF\xBD"; // U+FFFD in UTF-8

// The length of the UTF-8 sequence that starts text[0] when it is a
// character XML allows, or 0: U+FFFE and U+FFFF are valid UTF-8 but no XML
// characters.
std::size_t utf8_length(std::string_view text) {
    const std::size_t length = utf8_sequence_length(text);
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (length == 3 && byte(0) == 0xEF && byte(1) == 0xBF && byte(2) >= 0xBE) {
        return 0;
    }
    return length;
}

void append_attributes(Svg& svg, std::initializer_list<SvgAttribute> attributes) {
    for (const SvgAttribute& attribute : attributes) {
        svg.text += ' ';
        svg.text += attribute.name;
        svg.text += "=\"";
        append_xml_escaped(svg.text, attribute.value);
        svg.text += '"';
    }
}

void start_tag(Svg& svg, std::string_view name, std::initializer_list<SvgAttribute> attributes) {
    svg.text += '<';
    svg.text += name;
    append_attributes(svg, attributes);
}

} // namespace

void append_xml_escaped(std::string& out, std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        const std::size_t length = utf8_length(text.substr(i));
        if (length == 0) {
            out += REPLACEMENT;
            ++i;
            continue;
        }
        if (length > 1) {
            out += text.substr(i, length);
            i += length;
            continue;
        }
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
                out += REPLACEMENT;
            } else {
                out += c;
            }
        }
        ++i;
    }
}

std::string svg_number(double value) {
    if (!std::isfinite(value)) {
        return "0";
    }
    // Two decimals are a hundredth of a user unit, far below a pixel.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    std::string text(buffer);
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
    }
    if (text == "-0") {
        text = "0";
    }
    return text;
}

void svg_begin(Svg& svg, double width, double height, std::string_view title, double pixel_width,
               double pixel_height) {
    svg.text.clear();
    svg.open.clear();
    svg.text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg_open(svg, "svg",
             {{"xmlns", "http://www.w3.org/2000/svg"},
              {"width", svg_number(pixel_width > 0.0 ? pixel_width : width)},
              {"height", svg_number(pixel_height > 0.0 ? pixel_height : height)},
              {"viewBox", "0 0 " + svg_number(width) + " " + svg_number(height)},
              {"font-family", "sans-serif"},
              {"font-size", "13"}});
    svg_text(svg, "title", {}, title);
}

void svg_open(Svg& svg, std::string_view name, std::initializer_list<SvgAttribute> attributes) {
    start_tag(svg, name, attributes);
    svg.text += ">\n";
    svg.open.emplace_back(name);
}

void svg_close(Svg& svg) {
    if (svg.open.empty()) {
        return;
    }
    svg.text += "</";
    svg.text += svg.open.back();
    svg.text += ">\n";
    svg.open.pop_back();
}

void svg_leaf(Svg& svg, std::string_view name, std::initializer_list<SvgAttribute> attributes) {
    start_tag(svg, name, attributes);
    svg.text += "/>\n";
}

void svg_text(Svg& svg, std::string_view name, std::initializer_list<SvgAttribute> attributes,
              std::string_view text) {
    start_tag(svg, name, attributes);
    svg.text += '>';
    append_xml_escaped(svg.text, text);
    svg.text += "</";
    svg.text += name;
    svg.text += ">\n";
}

void svg_end(Svg& svg) {
    while (!svg.open.empty()) {
        svg_close(svg);
    }
}

} // namespace ordimet::analyse

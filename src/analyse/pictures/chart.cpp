#include "analyse/pictures/chart.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ordimet::analyse {
namespace {

// Margins around the plot area: the tick labels and the rotated y label on
// the left, the title above, the tick labels and the x label below.
constexpr double LEFT = LEGEND_LEFT;
constexpr double RIGHT = RIGHT_MARGIN;
constexpr double TOP = 70.0;
constexpr double BELOW = 70.0;
constexpr double BOTTOM = 10.0;
// The most a plane's own plot area may be taller than wide.
constexpr double MAX_TALL = 1.25;
// Estimated advances of sans-serif text per character, of the legend's
// 13-unit text and of the 16-unit bold heading: DejaVu Sans sets the
// pictures' texts at about 6.4 and 8.9, other sans-serif fonts narrower;
// a little more, so that a wrapped row rather stays short.
constexpr double CHARACTER_WIDTH = 6.8;
constexpr double HEADING_CHARACTER_WIDTH = 9.4;

// The characters of UTF-8 text (bytes that start a character).
double characters(std::string_view text) {
    double count = 0.0;
    for (const char c : text) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1.0 : 0.0;
    }
    return count;
}

// The text's words into rows of at most `width` (a word longer than that
// on a row of its own).
std::vector<std::string> wrap_text(std::string_view text, double width) {
    std::vector<std::string> rows{""};
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t space = std::min(text.find(' ', at), text.size());
        const std::string_view word = text.substr(at, space - at);
        const std::string joined =
            rows.back().empty() ? std::string(word) : rows.back() + " " + std::string(word);
        if (!rows.back().empty() && characters(joined) * CHARACTER_WIDTH > width) {
            rows.emplace_back(word);
        } else {
            rows.back() = joined;
        }
        at = space + 1;
    }
    return rows;
}

double fraction(double value, double low, double high) {
    return (value - low) / (high - low);
}

// A plane's plot area of at most `width` by `height`, one unit as long on
// both axes, centred in that room from (left, top).
void fit_plane(Frame& f, double left, double top, double width, double height) {
    const double dx = f.window.x_max - f.window.x_min;
    const double dy = f.window.y_max - f.window.y_min;
    const double scale = std::min(width / dx, height / dy);
    f.width = scale * dx;
    f.height = scale * dy;
    f.left = left + (width - f.width) / 2.0;
    f.top = top + (height - f.height) / 2.0;
}

// Tick values on a linear axis: a step of 1, 2 or 5 times a power of ten
// giving about `count` ticks over [low, high].
std::vector<double> linear_ticks(double low, double high, double count) {
    const double rough = (high - low) / count;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10.0 * power;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            step = factor * power;
            break;
        }
    }
    std::vector<double> values;
    for (double t = std::ceil(low / step) * step; t <= high + 1e-9 * step; t += step) {
        values.push_back(std::fabs(t) < 1e-9 * step ? 0.0 : t);
    }
    return values;
}

// Tick values on a logarithmic axis over [10^low, 10^high]: the powers of
// ten whose exponents are multiples of a step of 1, 2 or 5 times a power of
// ten giving at most about eight, and 2 and 5 times them when the axis spans
// less than two decades.
std::vector<double> log_ticks(double low, double high) {
    const double decades = high - low;
    double every = 1.0;
    for (double power = 1.0; every * 8.0 < decades; power *= 10.0) {
        every = decades <= 16.0 * power   ? 2.0 * power
                : decades <= 40.0 * power ? 5.0 * power
                                          : 10.0 * power;
    }
    std::vector<double> values;
    for (double e = std::floor(low); e <= high + 1e-9; e += 1.0) {
        for (const double factor : {1.0, 2.0, 5.0}) {
            const double t = std::log10(factor) + e;
            const bool shown =
                factor == 1.0 ? std::fmod(std::fabs(e), every) == 0.0 : decades < 2.0;
            if (shown && t >= low - 1e-9 && t <= high + 1e-9) {
                values.push_back(factor * std::pow(10.0, e));
            }
        }
    }
    return values;
}

// "10⁻³" or "2·10⁻³": a tick label of a logarithmic axis.
std::string power_text(double value) {
    const double exponent = std::floor(std::log10(value) + 1e-9);
    const long mantissa = std::lround(value / std::pow(10.0, exponent));
    std::string text = mantissa == 1 ? "" : std::to_string(mantissa) + "·";
    return text + "10" + superscript(std::lround(exponent));
}

std::vector<double> axis_ticks(bool log, double low, double high, double count) {
    return log ? log_ticks(low, high) : linear_ticks(low, high, count);
}

std::string tick_text(bool log, double value) {
    return log ? power_text(value) : number_text(value);
}

void draw_ticks(Svg& svg, const Frame& f) {
    const double bottom = f.top + f.height;
    for (const double t : axis_ticks(f.log_x, f.window.x_min, f.window.x_max, f.width / 85.0)) {
        const std::string x = svg_number(page_x(f, f.log_x ? std::log10(t) : t));
        svg_leaf(
            svg, "line",
            {{"x1", x}, {"y1", svg_number(bottom)}, {"x2", x}, {"y2", svg_number(bottom + 5)}});
        svg_text(svg, "text",
                 {{"x", x},
                  {"y", svg_number(bottom + 19.0)},
                  {"text-anchor", "middle"},
                  {"stroke", "none"},
                  {"fill", "black"}},
                 tick_text(f.log_x, t));
    }
    for (const double t : axis_ticks(f.log_y, f.window.y_min, f.window.y_max, f.height / 55.0)) {
        const double at = page_y(f, f.log_y ? std::log10(t) : t);
        const std::string y = svg_number(at);
        svg_leaf(
            svg, "line",
            {{"x1", svg_number(f.left - 5.0)}, {"y1", y}, {"x2", svg_number(f.left)}, {"y2", y}});
        svg_text(svg, "text",
                 {{"x", svg_number(f.left - 8.0)},
                  {"y", svg_number(at + 4.0)},
                  {"text-anchor", "end"},
                  {"stroke", "none"},
                  {"fill", "black"}},
                 tick_text(f.log_y, t));
    }
}

} // namespace

double page_x(const Frame& f, double x) {
    return f.left + fraction(x, f.window.x_min, f.window.x_max) * f.width;
}

double page_y(const Frame& f, double y) {
    return f.top + (1.0 - fraction(y, f.window.y_min, f.window.y_max)) * f.height;
}

double page_width(double own, const PictureOptions& options) {
    if (options.width <= 0 || options.height <= 0) {
        return own;
    }
    return std::max(static_cast<double>(options.width), MIN_PAGE_WIDTH);
}

Page lay_out(const PageRequest& request, const PlotWindow& window, const PictureOptions& options) {
    Page page;
    page.frame.window = window;
    const double below = BELOW + request.legend_height + BOTTOM;
    if (options.width <= 0 || options.height <= 0) {
        page.width = request.width;
        const double room = page.width - LEFT - RIGHT;
        page.frame.left = LEFT;
        page.frame.top = TOP;
        page.frame.width = room;
        page.frame.height = request.plot_height;
        if (request.equal_scale) {
            fit_plane(page.frame, LEFT, TOP, room, MAX_TALL * room);
            page.frame.top = TOP;
        }
        page.height = TOP + page.frame.height + below;
        page.pixel_width = page.width;
        page.pixel_height = page.height;
    } else {
        page.pixel_width = options.width;
        page.pixel_height = options.height;
        const double least_height = TOP + MIN_PLOT + below;
        const double scale =
            std::min({1.0, page.pixel_width / MIN_PAGE_WIDTH, page.pixel_height / least_height});
        page.width = page.pixel_width / scale;
        page.height = page.pixel_height / scale;
        const double room_width = page.width - LEFT - RIGHT;
        const double room_height = page.height - TOP - below;
        page.frame = {window, LEFT, TOP, room_width, room_height};
        if (request.equal_scale) {
            fit_plane(page.frame, LEFT, TOP, room_width, room_height);
        }
    }
    page.legend_top = page.frame.top + page.frame.height + BELOW;
    return page;
}

void begin_page(Svg& svg, const Page& page, const std::string& title, const std::string& heading,
                const std::string& subtitle) {
    svg_begin(svg, page.width, page.height, title, page.pixel_width, page.pixel_height);
    svg_leaf(svg, "rect",
             {{"width", svg_number(page.width)},
              {"height", svg_number(page.height)},
              {"fill", "white"}});
    // A heading too long for a narrow page is set smaller, to 10 at least.
    const double fitting = (page.width - 20.0) / (characters(heading) * HEADING_CHARACTER_WIDTH);
    svg_text(svg, "text",
             {{"x", svg_number(page.width / 2.0)},
              {"y", "26"},
              {"text-anchor", "middle"},
              {"font-size", svg_number(std::clamp(16.0 * fitting, 10.0, 16.0))},
              {"font-weight", "bold"}},
             heading);
    if (!subtitle.empty()) {
        svg_text(svg, "text",
                 {{"x", svg_number(page.width / 2.0)}, {"y", "47"}, {"text-anchor", "middle"}},
                 subtitle);
    }
}

std::string superscript(long value) {
    static const char* const DIGITS[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
    std::string text = value < 0 ? "⁻" : "";
    for (const char digit : std::to_string(value < 0 ? -value : value)) {
        text += DIGITS[digit - '0'];
    }
    return text;
}

std::string number_text(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value == 0.0 ? 0.0 : value);
    return text;
}

void draw_frame(Svg& svg, const Frame& f, std::string_view x_label, std::string_view y_label) {
    const std::initializer_list<SvgAttribute> area{{"x", svg_number(f.left)},
                                                   {"y", svg_number(f.top)},
                                                   {"width", svg_number(f.width)},
                                                   {"height", svg_number(f.height)}};
    svg_open(svg, "defs", {});
    svg_open(svg, "clipPath", {{"id", "area"}});
    svg_leaf(svg, "rect", area);
    svg_close(svg);
    svg_close(svg);
    svg_open(svg, "g", {{"id", "eixos"}, {"stroke", "black"}, {"fill", "none"}});
    svg_leaf(svg, "rect", area);
    draw_ticks(svg, f);
    svg_text(svg, "text",
             {{"x", svg_number(f.left + f.width / 2.0)},
              {"y", svg_number(f.top + f.height + 40.0)},
              {"text-anchor", "middle"},
              {"stroke", "none"},
              {"fill", "black"}},
             x_label);
    const std::string y_position = svg_number(f.top + f.height / 2.0);
    const std::string x_position = svg_number(f.left - 72.0);
    svg_text(svg, "text",
             {{"x", x_position},
              {"y", y_position},
              {"text-anchor", "middle"},
              {"stroke", "none"},
              {"fill", "black"},
              {"transform", "rotate(-90 " + x_position + " " + y_position + ")"}},
             y_label);
    svg_close(svg);
}

void draw_axes(Svg& svg, const Frame& f) {
    svg_open(svg, "g", {{"id", "eixos-coordenados"}, {"stroke", "black"}, {"stroke-width", "0.8"}});
    if (!f.log_y && f.window.y_min < 0.0 && f.window.y_max > 0.0) {
        svg_leaf(svg, "line",
                 {{"x1", svg_number(f.left)},
                  {"y1", svg_number(page_y(f, 0.0))},
                  {"x2", svg_number(f.left + f.width)},
                  {"y2", svg_number(page_y(f, 0.0))}});
    }
    if (!f.log_x && f.window.x_min < 0.0 && f.window.x_max > 0.0) {
        svg_leaf(svg, "line",
                 {{"x1", svg_number(page_x(f, 0.0))},
                  {"y1", svg_number(f.top)},
                  {"x2", svg_number(page_x(f, 0.0))},
                  {"y2", svg_number(f.top + f.height)}});
    }
    svg_close(svg);
}

void draw_curve(Svg& svg, const Frame& f, std::span<const PlotPoint> points) {
    std::string list;
    const auto flush = [&]() {
        if (list.find(' ') != std::string::npos) {
            svg_leaf(svg, "polyline", {{"points", list}});
        }
        list.clear();
    };
    for (const PlotPoint& p : points) {
        if (!is_finite(p)) {
            flush();
            continue;
        }
        if (!list.empty()) {
            list += ' ';
        }
        list += svg_number(page_x(f, p.x));
        list += ',';
        list += svg_number(page_y(f, p.y));
    }
    flush();
}

void define_hatch(Svg& svg) {
    svg_open(svg, "defs", {});
    svg_open(svg, "pattern",
             {{"id", "hachura"},
              {"width", "8"},
              {"height", "8"},
              {"patternUnits", "userSpaceOnUse"},
              {"patternTransform", "rotate(45)"}});
    svg_leaf(svg, "line",
             {{"x1", "0"},
              {"y1", "0"},
              {"x2", "0"},
              {"y2", "8"},
              {"stroke", "black"},
              {"stroke-width", "1"}});
    svg_close(svg);
    svg_close(svg);
}

void draw_legend_entry(Svg& svg, double x, double y, const LegendEntry& entry) {
    if (entry.swatch == Swatch::LINE) {
        svg_leaf(svg, "line",
                 {{"x1", svg_number(x)},
                  {"y1", svg_number(y - 4.0)},
                  {"x2", svg_number(x + 28.0)},
                  {"y2", svg_number(y - 4.0)},
                  {"stroke", entry.stroke},
                  {"stroke-width", entry.width},
                  {"stroke-dasharray", entry.dashes.empty() ? "none" : entry.dashes}});
    } else if (entry.swatch != Swatch::NONE) {
        svg_leaf(svg, "rect",
                 {{"x", svg_number(x)},
                  {"y", svg_number(y - 10.0)},
                  {"width", "28"},
                  {"height", "12"},
                  {"fill", entry.swatch == Swatch::HATCH ? "url(#hachura)" : entry.fill},
                  {"stroke", "black"},
                  {"stroke-width", "0.5"}});
    }
    svg_text(svg, "text", {{"x", svg_number(x + 36.0)}, {"y", svg_number(y)}}, entry.text);
}

std::vector<LegendEntry> wrap_legend(std::span<const LegendEntry> entries, double width,
                                     std::vector<std::size_t>* first_rows) {
    std::vector<LegendEntry> rows;
    for (const LegendEntry& entry : entries) {
        if (first_rows != nullptr) {
            first_rows->push_back(rows.size());
        }
        bool first = true;
        for (std::string& text : wrap_text(entry.text, width - 36.0)) {
            LegendEntry row = first ? entry : LegendEntry{Swatch::NONE, "", "", "", "", ""};
            row.text = std::move(text);
            rows.push_back(std::move(row));
            first = false;
        }
    }
    return rows;
}

double legend_height(std::size_t rows) {
    return LEGEND_ROW * static_cast<double>(rows);
}

void draw_legend(Svg& svg, const char* id, double left, double top,
                 std::span<const LegendEntry> entries) {
    svg_open(svg, "g", {{"id", id}});
    for (std::size_t i = 0; i < entries.size(); ++i) {
        draw_legend_entry(svg, left, top + LEGEND_ROW * static_cast<double>(i), entries[i]);
    }
    svg_close(svg);
}

std::string label(Language language, const char* portuguese,
                  std::initializer_list<std::string_view> parts) {
    const std::string_view text = say(portuguese, language);
    std::string out;
    const std::string_view* part = parts.begin();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 2) == "%s" && part != parts.end()) {
            out += *part++;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace ordimet::analyse

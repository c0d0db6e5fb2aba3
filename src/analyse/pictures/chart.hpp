#pragma once

// Chart primitives shared by the pictures: the layout of a page (its size,
// the plot area, the legend's place), the frame of a plot area with ticks
// and axis labels (linear or logarithmic), the coordinate axes, curves, the
// title, legends and the pictures' words. Lengths are in user units of the
// page (its viewBox); text is TEXT_SIZE units high and every margin is
// measured for it. Nothing here knows what a picture shows.

#include "analyse/pictures/pictures.hpp"
#include "analyse/pictures/svg.hpp"

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ordimet::analyse {

inline constexpr double PI = 3.14159265358979323846;
inline constexpr double TEXT_SIZE = 13.0;
inline constexpr double LEGEND_ROW = 20.0;

// A plot area on the page and the window it shows. On a logarithmic axis
// every coordinate, the window's included, is the decimal logarithm of the
// value: only the ticks and their labels differ.
struct Frame {
    PlotWindow window;
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
    bool log_x = false;
    bool log_y = false;
};

// A point of the plane on the page.
double page_x(const Frame& f, double x);
double page_y(const Frame& f, double y);

// What a picture asks of its page.
struct PageRequest {
    double width = 640.0;       // its own width
    double plot_height = 320.0; // its plot area's own height (free shape)
    double legend_height = 0.0; // the legend's, below the axis label
    bool equal_scale = false;   // a plane: one unit as long on both axes
};

// A page laid out: its size in user units and in pixels, the plot area and
// the top of the legend (whose left is LEGEND_LEFT).
struct Page {
    double width = 0.0;
    double height = 0.0;
    double pixel_width = 0.0;
    double pixel_height = 0.0;
    Frame frame;
    double legend_top = 0.0;
};

inline constexpr double LEGEND_LEFT = 90.0;
inline constexpr double RIGHT_MARGIN = 50.0;

// Left to us, how a picture meets a size given with --plot-size (in
// pixels): text stays TEXT_SIZE pixels high and lines keep their widths,
// as text in a document keeps its size whatever the figure's; the legend
// wraps to the page's width and the plot area takes the room left by the
// title, the tick labels and the legend, so that a smaller picture has
// relatively larger text, as a figure for a narrow column needs. Only a
// page narrower than MIN_PAGE_WIDTH, or too low for the title, the legend
// and a plot area MIN_PLOT high, is drawn with everything scaled down
// together to fit. Without a size the page has the picture's own width and
// the height its parts need.
inline constexpr double MIN_PAGE_WIDTH = 360.0;
inline constexpr double MIN_PLOT = 160.0;

// The width of the page in user units, for a picture of its own width
// `own`: the legend is wrapped to it (less the margins) before lay_out.
double page_width(double own, const PictureOptions& options);

// Lays out a page for the window (see above). A plane (equal_scale) is as
// large as fits with one unit as long on both axes, centred in the room
// left.
Page lay_out(const PageRequest& request, const PlotWindow& window, const PictureOptions& options);

// Starts the document of a page: its size, the <title> element, a white
// background and the visible heading and subtitle above the plot area.
void begin_page(Svg& svg, const Page& page, const std::string& title, const std::string& heading,
                const std::string& subtitle);

// A number for a tick label or a legend: 6 significant digits, no "-0".
std::string number_text(double value);
// An integer in superscript digits: "⁻¹²".
std::string superscript(long value);

// The frame of the plot area with ticks, tick labels and axis labels (group
// "eixos"), and the clip path "area" for what is drawn inside it.
void draw_frame(Svg& svg, const Frame& f, std::string_view x_label, std::string_view y_label);

// The coordinate axes x = 0 and y = 0 where they are in the window (group
// "eixos-coordenados"); none on a logarithmic axis.
void draw_axes(Svg& svg, const Frame& f);

// The pieces of a curve (NaN points between them) as polylines.
void draw_curve(Svg& svg, const Frame& f, std::span<const PlotPoint> points);

// The pattern "hachura" of hatched areas, in a <defs> of its own.
void define_hatch(Svg& svg);

// Legend entries: a sample of the style and the text beside it; NONE for a
// row of text that goes on from the entry above.
enum class Swatch { FILL, HATCH, LINE, NONE };

struct LegendEntry {
    Swatch swatch = Swatch::LINE;
    std::string fill;   // FILL: the fill colour
    std::string stroke; // LINE: colour, width and dashes
    std::string width;
    std::string dashes;
    std::string text;
};

// One entry with its sample at (x, y - 10 .. y) and its text from x + 36.
void draw_legend_entry(Svg& svg, double x, double y, const LegendEntry& entry);
// The entries with their texts broken at spaces into rows (NONE entries
// after the first) that fit `width` from the sample's left, by an estimate
// of the width of sans-serif text; `first_rows`, when given, receives the
// row of each entry.
std::vector<LegendEntry> wrap_legend(std::span<const LegendEntry> entries, double width,
                                     std::vector<std::size_t>* first_rows = nullptr);
// The height of a legend of `rows` rows.
double legend_height(std::size_t rows);
// A legend in one column from (left, top), one row per entry.
void draw_legend(Svg& svg, const char* id, double left, double top,
                 std::span<const LegendEntry> entries);

// The text in the language, each "%s" in it replaced by the next of `parts`
// (a text and its translation have the same "%s", in the same order).
std::string label(Language language, const char* portuguese,
                  std::initializer_list<std::string_view> parts = {});

} // namespace ordimet::analyse

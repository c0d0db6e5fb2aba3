#include "analyse/pictures/pictures.hpp"

#include "analyse/pictures/svg.hpp"
#include "analyse/report/format.hpp"
#include "analyse/roots/aberth.hpp"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <filesystem>
#include <limits>

namespace ordimet::analyse {
namespace {

using Complex = std::complex<double>;

constexpr double PI = 3.14159265358979323846;
constexpr double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();
constexpr double INFINITE = std::numeric_limits<double>::infinity();

// --- Drawing ---------------------------------------------------------------

// A plot area on the page and the window it shows.
struct Frame {
    PlotWindow window;
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
};

double page_x(const Frame& f, double x) {
    return f.left + (x - f.window.x_min) / (f.window.x_max - f.window.x_min) * f.width;
}

double page_y(const Frame& f, double y) {
    return f.top + (f.window.y_max - y) / (f.window.y_max - f.window.y_min) * f.height;
}

std::string number_text(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value == 0.0 ? 0.0 : value);
    return text;
}

// Tick values: a step of 1, 2 or 5 times a power of ten giving about six
// ticks over [low, high].
std::vector<double> ticks(double low, double high) {
    const double rough = (high - low) / 6.0;
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

// The frame of a plot area with ticks, tick labels and axis labels, and a
// clip path "area" for what is drawn inside it.
void draw_frame(Svg& svg, const Frame& f, std::string_view x_label, std::string_view y_label) {
    svg_open(svg, "defs", {});
    svg_open(svg, "clipPath", {{"id", "area"}});
    svg_leaf(svg, "rect",
             {{"x", svg_number(f.left)},
              {"y", svg_number(f.top)},
              {"width", svg_number(f.width)},
              {"height", svg_number(f.height)}});
    svg_close(svg);
    svg_close(svg);
    svg_open(svg, "g", {{"id", "eixos"}, {"stroke", "black"}, {"fill", "none"}});
    svg_leaf(svg, "rect",
             {{"x", svg_number(f.left)},
              {"y", svg_number(f.top)},
              {"width", svg_number(f.width)},
              {"height", svg_number(f.height)},
              {"stroke-width", "1"}});
    const double bottom = f.top + f.height;
    for (const double t : ticks(f.window.x_min, f.window.x_max)) {
        const double x = page_x(f, t);
        svg_leaf(svg, "line",
                 {{"x1", svg_number(x)},
                  {"y1", svg_number(bottom)},
                  {"x2", svg_number(x)},
                  {"y2", svg_number(bottom + 5.0)}});
        svg_text(svg, "text",
                 {{"x", svg_number(x)},
                  {"y", svg_number(bottom + 19.0)},
                  {"text-anchor", "middle"},
                  {"stroke", "none"},
                  {"fill", "black"}},
                 number_text(t));
    }
    for (const double t : ticks(f.window.y_min, f.window.y_max)) {
        const double y = page_y(f, t);
        svg_leaf(svg, "line",
                 {{"x1", svg_number(f.left - 5.0)},
                  {"y1", svg_number(y)},
                  {"x2", svg_number(f.left)},
                  {"y2", svg_number(y)}});
        svg_text(svg, "text",
                 {{"x", svg_number(f.left - 8.0)},
                  {"y", svg_number(y + 4.0)},
                  {"text-anchor", "end"},
                  {"stroke", "none"},
                  {"fill", "black"}},
                 number_text(t));
    }
    svg_text(svg, "text",
             {{"x", svg_number(f.left + f.width / 2.0)},
              {"y", svg_number(bottom + 40.0)},
              {"text-anchor", "middle"},
              {"stroke", "none"},
              {"fill", "black"}},
             x_label);
    const std::string y_position = svg_number(f.top + f.height / 2.0);
    svg_text(svg, "text",
             {{"x", "18"},
              {"y", y_position},
              {"text-anchor", "middle"},
              {"stroke", "none"},
              {"fill", "black"},
              {"transform", "rotate(-90 18 " + y_position + ")"}},
             y_label);
    svg_close(svg);
}

// The coordinate axes x = 0 and y = 0 where they are in the window.
void draw_axes(Svg& svg, const Frame& f) {
    svg_open(svg, "g", {{"id", "eixos-coordenados"}, {"stroke", "black"}, {"stroke-width", "0.8"}});
    if (f.window.y_min < 0.0 && f.window.y_max > 0.0) {
        svg_leaf(svg, "line",
                 {{"x1", svg_number(f.left)},
                  {"y1", svg_number(page_y(f, 0.0))},
                  {"x2", svg_number(f.left + f.width)},
                  {"y2", svg_number(page_y(f, 0.0))}});
    }
    if (f.window.x_min < 0.0 && f.window.x_max > 0.0) {
        svg_leaf(svg, "line",
                 {{"x1", svg_number(page_x(f, 0.0))},
                  {"y1", svg_number(f.top)},
                  {"x2", svg_number(page_x(f, 0.0))},
                  {"y2", svg_number(f.top + f.height)}});
    }
    svg_close(svg);
}

// The pieces of a curve (NaN points between them) as polylines.
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

void draw_title(Svg& svg, double width, const std::string& title, const std::string& subtitle) {
    svg_text(svg, "text",
             {{"x", svg_number(width / 2.0)},
              {"y", "26"},
              {"text-anchor", "middle"},
              {"font-size", "16"},
              {"font-weight", "bold"}},
             title);
    if (!subtitle.empty()) {
        svg_text(svg, "text",
                 {{"x", svg_number(width / 2.0)}, {"y", "47"}, {"text-anchor", "middle"}},
                 subtitle);
    }
}

// Legend entries: a sample of the style at (x, y) and the text beside it.
enum class Swatch { FILL, HATCH, LINE };

struct LegendEntry {
    Swatch swatch = Swatch::LINE;
    std::string fill;   // FILL: the fill colour
    std::string stroke; // LINE: colour, width and dashes
    std::string width;
    std::string dashes;
    std::string text;
};

void draw_legend_entry(Svg& svg, double x, double y, const LegendEntry& entry) {
    switch (entry.swatch) {
    case Swatch::FILL:
        svg_leaf(svg, "rect",
                 {{"x", svg_number(x)},
                  {"y", svg_number(y - 10.0)},
                  {"width", "28"},
                  {"height", "12"},
                  {"fill", entry.fill},
                  {"stroke", "black"},
                  {"stroke-width", "0.5"}});
        break;
    case Swatch::HATCH:
        svg_leaf(svg, "rect",
                 {{"x", svg_number(x)},
                  {"y", svg_number(y - 10.0)},
                  {"width", "28"},
                  {"height", "12"},
                  {"fill", "url(#hachura)"},
                  {"stroke", "black"},
                  {"stroke-width", "0.5"}});
        break;
    case Swatch::LINE:
        svg_leaf(svg, "line",
                 {{"x1", svg_number(x)},
                  {"y1", svg_number(y - 4.0)},
                  {"x2", svg_number(x + 28.0)},
                  {"y2", svg_number(y - 4.0)},
                  {"stroke", entry.stroke},
                  {"stroke-width", entry.width},
                  {"stroke-dasharray", entry.dashes.empty() ? "none" : entry.dashes}});
        break;
    }
    svg_text(svg, "text", {{"x", svg_number(x + 36.0)}, {"y", svg_number(y)}}, entry.text);
}

// A legend in one column from (left, top).
void draw_legend(Svg& svg, const char* id, double left, double top,
                 std::span<const LegendEntry> entries) {
    svg_open(svg, "g", {{"id", id}});
    for (std::size_t i = 0; i < entries.size(); ++i) {
        draw_legend_entry(svg, left, top + 20.0 * static_cast<double>(i), entries[i]);
    }
    svg_close(svg);
}

// True when every root of the polynomial with coefficients re[j] + i im[j]
// (ascending, degree n = size - 1) lies strictly inside the unit circle, by
// the Schur-Cohn reduction: with a_0 and a_n the constant and leading
// coefficients, all n roots are inside only if |a_n| > |a_0|, and then
// exactly when all n - 1 roots of (conj(a_n) p(z) - a_0 p*(z)) / z are,
// p*(z) = z^n conj(p(1 / conj z)). Scaled by |a_n|^2 at each step.
bool all_roots_inside(std::vector<double>& re, std::vector<double>& im, std::vector<double>& re2,
                      std::vector<double>& im2) {
    std::size_t n = re.size() - 1;
    while (n > 0) {
        const double a0r = re[0];
        const double a0i = im[0];
        const double anr = re[n];
        const double ani = im[n];
        const double leading = anr * anr + ani * ani;
        if (!(leading > a0r * a0r + a0i * a0i)) {
            return false;
        }
        for (std::size_t j = 0; j < n; ++j) {
            // conj(a_n) p_{j+1} - a_0 conj(p_{n-1-j})
            const double pr = re[j + 1];
            const double pi = im[j + 1];
            const double sr = re[n - 1 - j];
            const double si = -im[n - 1 - j];
            re2[j] = (anr * pr + ani * pi - (a0r * sr - a0i * si)) / leading;
            im2[j] = (anr * pi - ani * pr - (a0r * si + a0i * sr)) / leading;
        }
        std::swap(re, re2);
        std::swap(im, im2);
        --n;
    }
    return true;
}

// The region S shaded cell by cell: a cell belongs to S when every root of
// pi(zeta; z) at its centre is inside the circle (the boundary itself has
// no area). Runs of cells of one row are merged into one rectangle.
void draw_region(Svg& svg, const Frame& f, const AlgorithmSamples& samples) {
    // The pair without its common factor; with fixed roots S doesn't allow,
    // S is empty.
    const std::span<const double> rho = samples.region_rho;
    const std::span<const double> sigma = samples.region_sigma;
    long degree = -1;
    for (std::size_t j = 0; j < std::min(rho.size(), sigma.size()); ++j) {
        if (rho[j] != 0.0 || sigma[j] != 0.0) {
            degree = static_cast<long>(j);
        }
    }
    if (!samples.fixed_roots_allowed) {
        degree = -1;
    }
    svg_open(svg, "g",
             {{"id", "regiao"},
              {"fill", "#c8c8c8"},
              {"stroke", "none"},
              {"shape-rendering", "crispEdges"}});
    if (degree < 0) {
        svg_close(svg);
        return;
    }
    const std::size_t size = static_cast<std::size_t>(degree) + 1;
    // Left to us: 200 cells a side (2.5 units each at the size drawn) up to
    // degree 16, fewer above so that a step of 64 stays within a few tenths
    // of a second: the test costs about degree^2 per cell.
    const int cells = std::max(50, std::min(200, 3200 / std::max(1, static_cast<int>(degree))));
    const double cell_width = f.width / cells;
    const double cell_height = f.height / cells;
    std::vector<double> re(size);
    std::vector<double> im(size);
    std::vector<double> re2(size);
    std::vector<double> im2(size);
    for (int row = 0; row < cells; ++row) {
        const double y = f.window.y_max - (row + 0.5) / cells * (f.window.y_max - f.window.y_min);
        int run_start = -1;
        for (int column = 0; column <= cells; ++column) {
            bool inside = false;
            if (column < cells) {
                const double x =
                    f.window.x_min + (column + 0.5) / cells * (f.window.x_max - f.window.x_min);
                re.resize(size);
                im.resize(size);
                re2.resize(size);
                im2.resize(size);
                for (std::size_t j = 0; j < size; ++j) {
                    re[j] = rho[j] - x * sigma[j];
                    im[j] = -y * sigma[j];
                }
                inside = all_roots_inside(re, im, re2, im2);
            }
            if (inside && run_start < 0) {
                run_start = column;
            } else if (!inside && run_start >= 0) {
                svg_leaf(svg, "rect",
                         {{"x", svg_number(f.left + run_start * cell_width)},
                          {"y", svg_number(f.top + row * cell_height)},
                          {"width", svg_number((column - run_start) * cell_width)},
                          {"height", svg_number(cell_height)}});
                run_start = -1;
            }
        }
    }
    svg_close(svg);
}

std::string degrees_text(double degrees) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f°", degrees);
    return text;
}

} // namespace

std::string region_picture(const AlgorithmAnalysis& algorithm, const AlgorithmSamples& samples) {
    const double width = 640.0;
    const Frame f{samples.window, 90.0, 70.0, 500.0, 500.0};
    const AbsoluteStability& s = algorithm.absolute;
    const bool decided = s.status == RegionStatus::DECIDED;
    Svg svg;
    std::vector<LegendEntry> legend;
    legend.push_back({Swatch::FILL, "#c8c8c8", "", "", "",
                      "regiao S: as raizes de rho(ζ) - z sigma(ζ) em |ζ| < 1"});
    legend.push_back(
        {Swatch::LINE, "", "black", "1.5", "", "fronteira z(θ) = rho(e^iθ) / sigma(e^iθ)"});
    std::string interval_text = "intervalo real: nao decidido";
    std::string wedge_text = "cunha A(α): nao decidida";
    if (decided) {
        switch (s.real_interval.kind) {
        case IntervalEnd::Kind::NONE:
            interval_text = "sem intervalo real de estabilidade";
            break;
        case IntervalEnd::Kind::FINITE:
            interval_text = "intervalo real (-a, 0), a = " + interval_end_text(s.real_interval);
            break;
        case IntervalEnd::Kind::INFINITE:
            interval_text = "intervalo real: todo o semieixo negativo";
            break;
        }
        wedge_text = s.a_stable              ? "A-estavel: S contem o semiplano Re z < 0"
                     : s.alpha_degrees > 0.0 ? "cunha A(α), α = " + degrees_text(s.alpha_degrees)
                                             : "sem cunha A(α) (α = 0)";
    }
    legend.push_back({Swatch::LINE, "", "black", "5", "", interval_text});
    legend.push_back({Swatch::LINE, "", "black", "1.5", "8 4", wedge_text});

    const double legend_top = f.top + f.height + 70.0;
    const double height = legend_top + 20.0 * static_cast<double>(legend.size()) + 10.0;
    svg_begin(svg, width, height, "Regiao de estabilidade absoluta: " + algorithm.file);
    svg_leaf(svg, "rect",
             {{"width", svg_number(width)}, {"height", svg_number(height)}, {"fill", "white"}});
    draw_title(svg, width, "Regiao de estabilidade absoluta (y' = λy, z = hλ)", algorithm.file);
    draw_region(svg, f, samples);
    draw_axes(svg, f);
    svg_open(svg, "g",
             {{"id", "fronteira"},
              {"fill", "none"},
              {"stroke", "black"},
              {"stroke-width", "1.5"},
              {"clip-path", "url(#area)"}});
    draw_curve(svg, f, samples.locus);
    svg_close(svg);
    if (decided && s.real_interval.kind != IntervalEnd::Kind::NONE) {
        const double left = s.real_interval.kind == IntervalEnd::Kind::FINITE
                                ? std::max(-s.real_interval.value, f.window.x_min)
                                : f.window.x_min;
        svg_open(svg, "g", {{"id", "intervalo-real"}, {"stroke", "black"}, {"stroke-width", "5"}});
        svg_leaf(svg, "line",
                 {{"x1", svg_number(page_x(f, left))},
                  {"y1", svg_number(page_y(f, 0.0))},
                  {"x2", svg_number(page_x(f, 0.0))},
                  {"y2", svg_number(page_y(f, 0.0))}});
        svg_close(svg);
    }
    if (decided && (s.a_stable || s.alpha_degrees > 0.0)) {
        // The rays arg(-z) = +-alpha from the origin to beyond the window,
        // and an arc between them.
        const double alpha = (s.a_stable ? 90.0 : s.alpha_degrees) * PI / 180.0;
        const double reach = 2.0 * (f.window.x_max - f.window.x_min);
        const double ox = page_x(f, 0.0);
        const double oy = page_y(f, 0.0);
        const double scale = f.width / (f.window.x_max - f.window.x_min);
        svg_open(svg, "g",
                 {{"id", "cunha"},
                  {"fill", "none"},
                  {"stroke", "black"},
                  {"stroke-width", "1.5"},
                  {"stroke-dasharray", "8 4"},
                  {"clip-path", "url(#area)"}});
        for (const double sign : {1.0, -1.0}) {
            svg_leaf(svg, "line",
                     {{"x1", svg_number(ox)},
                      {"y1", svg_number(oy)},
                      {"x2", svg_number(ox - reach * scale * std::cos(alpha))},
                      {"y2", svg_number(oy - sign * reach * scale * std::sin(alpha))}});
        }
        const double r = 0.15 * f.width;
        svg_leaf(svg, "path",
                 {{"d", "M " + svg_number(ox - r * std::cos(alpha)) + " " +
                            svg_number(oy - r * std::sin(alpha)) + " A " + svg_number(r) + " " +
                            svg_number(r) + " 0 0 0 " + svg_number(ox - r * std::cos(alpha)) + " " +
                            svg_number(oy + r * std::sin(alpha))},
                  {"stroke-dasharray", "none"},
                  {"stroke-width", "1"}});
        // The letter beside the arc, above the real axis.
        svg_text(svg, "text",
                 {{"x", svg_number(ox - (r + 14.0) * std::cos(alpha / 2.0))},
                  {"y", svg_number(oy - (r + 14.0) * std::sin(alpha / 2.0) + 4.0)},
                  {"text-anchor", "middle"},
                  {"stroke", "none"},
                  {"fill", "black"}},
                 "α");
        svg_close(svg);
    }
    draw_frame(svg, f, "Re z", "Im z");
    draw_legend(svg, "legenda", f.left, legend_top, legend);
    svg_end(svg);
    return std::move(svg.text);
}

std::string periodicity_picture(const AlgorithmAnalysis& algorithm,
                                const AlgorithmSamples& samples) {
    const double width = 720.0;
    // The moduli from 0 to a little above the largest, at least 1.5 and at
    // most 3: a root far outside the circle is off the top.
    double largest = 0.0;
    for (const double value : samples.moduli) {
        if (std::isfinite(value)) {
            largest = std::max(largest, value);
        }
    }
    const double top_value = std::min(3.0, std::max(1.5, std::ceil(largest * 1.1 * 2.0) / 2.0));
    const double h2_max = samples.h2.empty() ? DEFAULT_H2_RANGE : samples.h2.back();
    const Frame f{{0.0, h2_max, 0.0, top_value}, 80.0, 70.0, 580.0, 320.0};
    const Periodicity& p = algorithm.periodicity;
    const bool decided = p.status == RegionStatus::DECIDED;

    std::string periodic_text = "intervalo de periodicidade: nao decidido";
    std::string absolute_text = "intervalo de estabilidade absoluta: nao decidido";
    if (decided) {
        periodic_text = p.periodicity.kind == IntervalEnd::Kind::NONE
                            ? "sem intervalo de periodicidade"
                            : "periodicidade: (0, " + interval_end_text(p.periodicity) + ")" +
                                  (p.p_stable ? ", P-estavel" : "");
        absolute_text = p.absolute.kind == IntervalEnd::Kind::NONE
                            ? "sem intervalo de estabilidade absoluta"
                            : "estabilidade absoluta: (0, " + interval_end_text(p.absolute) + ")";
    }
    // The legend: the intervals and the circle in the first column, the
    // curves in the second.
    const std::vector<LegendEntry> intervals{
        {Swatch::FILL, "#d0d0d0", "", "", "", periodic_text},
        {Swatch::HATCH, "", "", "", "", absolute_text},
        {Swatch::LINE, "", "black", "0.8", "3 3", "|ζ| = 1"},
    };
    // Curve styles: dash patterns and grays, so that black and white print
    // tells them apart. Left to us: six styles, repeated from the seventh
    // curve on; the legend names the curves of each style (|z1|, |z7|, ...)
    // rather than growing with the degree.
    static const char* const DASHES[] = {"", "8 4", "2 3", "10 3 2 3", "5 5", "1 3"};
    static const char* const GRAYS[] = {"black", "#404040", "black", "#606060", "black", "#404040"};
    constexpr std::size_t STYLES = 6;
    std::vector<LegendEntry> curves;
    for (std::size_t i = 0; i < std::min(samples.degree, STYLES); ++i) {
        std::string text = "|ζ" + std::to_string(i + 1) + "|" + (i == 0 ? " (maior)" : "");
        if (i + STYLES < samples.degree) {
            text += ", |ζ" + std::to_string(i + 1 + STYLES) + "|";
            text += i + 2 * STYLES < samples.degree ? ", ..." : "";
        }
        curves.push_back({Swatch::LINE, "", GRAYS[i], "1.8", DASHES[i], text});
    }
    const double legend_top = f.top + f.height + 70.0;
    Svg svg;
    const double legend_height =
        20.0 * static_cast<double>(std::max(intervals.size(), curves.size()));
    const double height = legend_top + legend_height + 10.0;
    svg_begin(svg, width, height, "Modulos das raizes de rho + H² sigma: " + algorithm.file);
    svg_leaf(svg, "rect",
             {{"width", svg_number(width)}, {"height", svg_number(height)}, {"fill", "white"}});
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
    draw_title(svg, width, "Modulos das raizes de rho(ζ) + H² sigma(ζ) (y'' = -ω²y, H = hω)",
               algorithm.file);
    const auto band = [&](const char* id, const IntervalEnd& end, const char* fill) {
        if (!decided || end.kind == IntervalEnd::Kind::NONE) {
            return;
        }
        const double right =
            end.kind == IntervalEnd::Kind::FINITE ? std::min(end.value, h2_max) : h2_max;
        svg_open(svg, "g", {{"id", id}});
        svg_leaf(svg, "rect",
                 {{"x", svg_number(f.left)},
                  {"y", svg_number(f.top)},
                  {"width", svg_number(page_x(f, right) - f.left)},
                  {"height", svg_number(f.height)},
                  {"fill", fill}});
        svg_close(svg);
    };
    band("periodicidade", p.periodicity, "#d0d0d0");
    band("estabilidade-absoluta", p.absolute, "url(#hachura)");
    svg_open(svg, "g",
             {{"id", "modulo-um"},
              {"stroke", "black"},
              {"stroke-width", "0.8"},
              {"stroke-dasharray", "3 3"}});
    svg_leaf(svg, "line",
             {{"x1", svg_number(f.left)},
              {"y1", svg_number(page_y(f, 1.0))},
              {"x2", svg_number(f.left + f.width)},
              {"y2", svg_number(page_y(f, 1.0))}});
    svg_close(svg);
    svg_open(svg, "g",
             {{"id", "modulos"},
              {"fill", "none"},
              {"stroke-width", "1.8"},
              {"clip-path", "url(#area)"}});
    std::vector<PlotPoint> raw;
    std::vector<PlotPoint> clipped;
    for (std::size_t i = 0; i < samples.degree; ++i) {
        raw.clear();
        for (std::size_t s = 0; s < samples.h2.size(); ++s) {
            raw.push_back({samples.h2[s], samples.moduli[s * samples.degree + i]});
        }
        clip_curve(raw, f.window, clipped);
        svg_open(svg, "g",
                 {{"stroke", GRAYS[i % STYLES]},
                  {"stroke-dasharray", *DASHES[i % STYLES] ? DASHES[i % STYLES] : "none"}});
        draw_curve(svg, f, clipped);
        svg_close(svg);
    }
    svg_close(svg);
    draw_frame(svg, f, "H² = (hω)²", "|ζ|");
    draw_legend(svg, "legenda", f.left, legend_top, intervals);
    draw_legend(svg, "legenda-curvas", f.left + 420.0, legend_top, curves);
    svg_end(svg);
    return std::move(svg.text);
}

namespace {

// A root or eigenvalue as the picture needs it.
struct PlotRoot {
    double re = 0.0;
    double im = 0.0;
    int multiplicity = 1;
    Location location = Location::INSIDE;
};

void draw_marker(Svg& svg, double x, double y, Location location) {
    switch (location) {
    case Location::INSIDE:
        svg_leaf(svg, "circle",
                 {{"cx", svg_number(x)}, {"cy", svg_number(y)}, {"r", "5"}, {"fill", "black"}});
        break;
    case Location::ON:
        svg_leaf(svg, "rect",
                 {{"x", svg_number(x - 5.5)},
                  {"y", svg_number(y - 5.5)},
                  {"width", "11"},
                  {"height", "11"},
                  {"fill", "white"},
                  {"stroke", "black"},
                  {"stroke-width", "2"}});
        break;
    case Location::OUTSIDE:
        svg_leaf(svg, "path",
                 {{"d", "M " + svg_number(x - 6.0) + " " + svg_number(y - 6.0) + " L " +
                            svg_number(x + 6.0) + " " + svg_number(y + 6.0) + " M " +
                            svg_number(x - 6.0) + " " + svg_number(y + 6.0) + " L " +
                            svg_number(x + 6.0) + " " + svg_number(y - 6.0)},
                  {"stroke", "black"},
                  {"stroke-width", "2.5"}});
        break;
    }
}

std::string complex_text(double re, double im) {
    std::string text = number_text(re);
    if (im != 0.0) {
        text += im < 0.0 ? " - " : " + ";
        text += number_text(std::fabs(im));
        text += "i";
    }
    return text;
}

// The unit circle and the roots in the complex plane: a window of at least
// 1.5 and at most 4 on either side of the origin, roots beyond it listed
// below the legend.
std::string roots_document(const std::string& title, const std::string& heading,
                           const std::string& subtitle, std::span<const PlotRoot> roots,
                           std::string_view empty_note) {
    double largest = 0.0;
    for (const PlotRoot& root : roots) {
        largest = std::max(largest, std::hypot(root.re, root.im));
    }
    // Left to us: 4 keeps the unit circle large enough to judge roots near
    // it whatever else there is; a root farther out is named in words.
    const double half = std::min(4.0, std::max(1.5, 1.2 * largest));
    const double width = 560.0;
    const Frame f{{-half, half, -half, half}, 80.0, 70.0, 420.0, 420.0};
    std::vector<std::string> notes;
    if (roots.empty()) {
        notes.emplace_back(empty_note);
    }
    for (const PlotRoot& root : roots) {
        if (std::fabs(root.re) > half || std::fabs(root.im) > half) {
            notes.push_back("fora da janela: " + complex_text(root.re, root.im) +
                            (root.multiplicity > 1
                                 ? ", multiplicidade " + std::to_string(root.multiplicity)
                                 : ""));
        }
    }
    const std::vector<LegendEntry> legend{
        {Swatch::LINE, "", "black", "1", "", "circulo unitario |ζ| = 1"},
    };
    const double legend_top = f.top + f.height + 70.0;
    const double height = legend_top + 20.0 * static_cast<double>(4 + notes.size()) + 10.0;
    Svg svg;
    svg_begin(svg, width, height, title);
    svg_leaf(svg, "rect",
             {{"width", svg_number(width)}, {"height", svg_number(height)}, {"fill", "white"}});
    draw_title(svg, width, heading, subtitle);
    draw_axes(svg, f);
    svg_open(svg, "g", {{"id", "circulo"}, {"fill", "none"}, {"stroke", "black"}});
    svg_leaf(svg, "circle",
             {{"cx", svg_number(page_x(f, 0.0))},
              {"cy", svg_number(page_y(f, 0.0))},
              {"r", svg_number(f.width / (2.0 * half))}});
    svg_close(svg);
    svg_open(svg, "g", {{"id", "raizes"}});
    for (const PlotRoot& root : roots) {
        if (std::fabs(root.re) > half || std::fabs(root.im) > half) {
            continue;
        }
        const double x = page_x(f, root.re);
        const double y = page_y(f, root.im);
        draw_marker(svg, x, y, root.location);
        if (root.multiplicity > 1) {
            svg_text(
                svg, "text",
                {{"x", svg_number(x + 8.0)}, {"y", svg_number(y - 8.0)}, {"font-weight", "bold"}},
                "×" + std::to_string(root.multiplicity));
        }
    }
    svg_close(svg);
    draw_frame(svg, f, "Re ζ", "Im ζ");
    svg_open(svg, "g", {{"id", "legenda"}});
    draw_legend_entry(svg, f.left, legend_top, legend[0]);
    const char* const names[] = {"dentro do circulo", "sobre o circulo", "fora do circulo"};
    const Location locations[] = {Location::INSIDE, Location::ON, Location::OUTSIDE};
    for (int i = 0; i < 3; ++i) {
        const double y = legend_top + 20.0 * (i + 1);
        draw_marker(svg, f.left + 14.0, y - 4.0, locations[i]);
        svg_text(svg, "text", {{"x", svg_number(f.left + 36.0)}, {"y", svg_number(y)}}, names[i]);
    }
    svg_text(svg, "text", {{"x", svg_number(f.left + 260.0)}, {"y", svg_number(legend_top)}},
             "×n: multiplicidade n");
    for (std::size_t i = 0; i < notes.size(); ++i) {
        svg_text(svg, "text",
                 {{"x", svg_number(f.left)},
                  {"y", svg_number(legend_top + 20.0 * static_cast<double>(4 + i))}},
                 notes[i]);
    }
    svg_close(svg);
    svg_end(svg);
    return std::move(svg.text);
}

} // namespace

std::string roots_picture(const AlgorithmAnalysis& algorithm) {
    std::vector<PlotRoot> roots;
    for (const Root& root : algorithm.roots) {
        roots.push_back({root.re, root.im, root.multiplicity, root.location});
    }
    return roots_document(
        "Raizes de rho: " + algorithm.file, "Raizes de rho(ζ)", algorithm.file, roots,
        algorithm.rho_zero ? "rho e' o polinomio nulo." : "rho e' constante: nao tem raizes.");
}

std::string cycle_picture(const MethodAnalysis& method) {
    std::vector<PlotRoot> roots;
    for (const Eigenvalue& value : method.cycle.eigenvalues) {
        roots.push_back({value.re, value.im, value.multiplicity, value.location});
    }
    std::string files;
    for (const std::string& file : method.files) {
        files += files.empty() ? "" : ", ";
        files += file;
    }
    return roots_document("Autovalores do ciclo: " + files, "Autovalores da matriz do ciclo", files,
                          roots, "O ciclo nao tem autovalores.");
}

void write_pictures(const MethodAnalysis& method, std::span<const AlgorithmSamples> samples,
                    PictureFolder& folder, std::vector<PictureFailure>& failures) {
    // File names: STEM-raizes.svg for the roots of rho, STEM-regiao.svg
    // (m = 1) or STEM-periodicidade.svg (m = 2), and STEM-ciclo.svg for the
    // cycle of a cyclic method, named after its first file.
    static const char* const M1[] = {"-raizes.svg", "-regiao.svg"};
    static const char* const M2[] = {"-raizes.svg", "-periodicidade.svg"};
    static const char* const OTHER[] = {"-raizes.svg"};
    static const char* const CYCLE[] = {"-ciclo.svg"};
    const auto write = [&](const std::string& name, const std::string& text) {
        const PictureWrite written = write_picture_file(folder, name, text);
        if (written != PictureWrite::WRITTEN) {
            failures.push_back({(std::filesystem::path(folder.path) / name).string(), written});
        }
    };
    for (std::size_t a = 0; a < method.algorithms.size(); ++a) {
        const AlgorithmAnalysis& algorithm = method.algorithms[a];
        const std::span<const char* const> suffixes =
            method.m == 1   ? std::span<const char* const>(M1)
            : method.m == 2 ? std::span<const char* const>(M2)
                            : std::span<const char* const>(OTHER);
        const std::string stem = unique_stem(algorithm.file, suffixes, folder);
        write(stem + "-raizes.svg", roots_picture(algorithm));
        if (method.m == 1 && a < samples.size()) {
            write(stem + "-regiao.svg", region_picture(algorithm, samples[a]));
        } else if (method.m == 2 && a < samples.size()) {
            write(stem + "-periodicidade.svg", periodicity_picture(algorithm, samples[a]));
        }
    }
    if (method.kind == MethodKind::CYCLIC && method.cycle.decided && !method.files.empty()) {
        const std::string stem = unique_stem(method.files[0], CYCLE, folder);
        write(stem + "-ciclo.svg", cycle_picture(method));
    }
}

} // namespace ordimet::analyse

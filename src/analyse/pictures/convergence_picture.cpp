// The convergence picture of --converge: the global error of each test
// problem against the step size h, log-log, with a reference line of the
// slope of the convergence order through the error at the smallest h.

#include "analyse/pictures/chart.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace ordimet::analyse {
namespace {

constexpr std::size_t STYLES = 3;
const char* const DASHES[STYLES] = {"", "8 4", "2 3"};
const char* const GRAYS[STYLES] = {"black", "#505050", "black"};

// The points of a run that can be drawn, (log10 h, log10 error): errors
// that are finite and positive.
std::vector<PlotPoint> run_points(const ConvergenceRun& run) {
    std::vector<PlotPoint> points;
    for (std::size_t i = 0; i < run.steps.size() && i < run.errors.size(); ++i) {
        const double error = run.errors[i];
        if (std::isfinite(error) && error > 0.0 && run.steps[i] > 0.0) {
            points.push_back({std::log10(run.steps[i]), std::log10(error)});
        }
    }
    return points;
}

// Left to us: a margin of a tenth of a decade around the steps and of
// three tenths around the errors (a twentieth of their span when wider),
// so that no marker touches the frame.
PlotWindow convergence_window(std::span<const std::vector<PlotPoint>> runs) {
    PlotWindow w{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                 std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    for (const std::vector<PlotPoint>& points : runs) {
        for (const PlotPoint& p : points) {
            w = {std::min(w.x_min, p.x), std::max(w.x_max, p.x), std::min(w.y_min, p.y),
                 std::max(w.y_max, p.y)};
        }
    }
    if (!(w.x_min <= w.x_max)) {
        return {-3.0, -1.0, -1.0, 1.0}; // nothing to draw: an empty frame
    }
    const double x_margin = std::max(0.1, 0.05 * (w.x_max - w.x_min));
    const double y_margin = std::max(0.3, 0.05 * (w.y_max - w.y_min));
    return {w.x_min - x_margin, w.x_max + x_margin, w.y_min - y_margin,
            std::max(w.y_max + y_margin, w.y_min + 1.0)};
}

// The line of slope `order` through the last point, across the window.
std::vector<PlotPoint> reference_line(const std::vector<PlotPoint>& points, long order,
                                      const PlotWindow& w) {
    if (points.empty()) {
        return {};
    }
    const PlotPoint last = points.back();
    const auto at = [&](double x) {
        return PlotPoint{x, last.y + static_cast<double>(order) * (x - last.x)};
    };
    std::vector<PlotPoint> line{at(w.x_min), at(w.x_max)};
    std::vector<PlotPoint> clipped;
    clip_curve(line, w, clipped);
    return clipped;
}

void draw_marker(Svg& svg, double x, double y, std::size_t style) {
    if (style % STYLES == 1) {
        svg_leaf(svg, "rect",
                 {{"x", svg_number(x - 4.5)},
                  {"y", svg_number(y - 4.5)},
                  {"width", "9"},
                  {"height", "9"},
                  {"fill", "white"},
                  {"stroke-dasharray", "none"},
                  {"stroke-width", "1.5"}});
    } else {
        svg_leaf(svg, "circle",
                 {{"cx", svg_number(x)},
                  {"cy", svg_number(y)},
                  {"r", "4.5"},
                  {"fill", style % STYLES == 0 ? GRAYS[0] : "white"},
                  {"stroke-dasharray", "none"}});
    }
}

void draw_runs(Svg& svg, const Frame& f, std::span<const std::vector<PlotPoint>> runs,
               std::optional<long> order) {
    svg_open(svg, "g", {{"id", "erros"}, {"fill", "none"}, {"clip-path", "url(#area)"}});
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const char* const dashes = *DASHES[r % STYLES] ? DASHES[r % STYLES] : "none";
        svg_open(svg, "g",
                 {{"id", "problema-" + std::to_string(r + 1)},
                  {"stroke", GRAYS[r % STYLES]},
                  {"stroke-width", "1.5"},
                  {"stroke-dasharray", dashes}});
        draw_curve(svg, f, runs[r]);
        for (const PlotPoint& p : runs[r]) {
            draw_marker(svg, page_x(f, p.x), page_y(f, p.y), r);
        }
        svg_close(svg);
    }
    svg_close(svg);
    svg_open(svg, "g",
             {{"id", "referencia"},
              {"fill", "none"},
              {"stroke", "#808080"},
              {"stroke-width", "1.2"},
              {"stroke-dasharray", "2 4"},
              {"clip-path", "url(#area)"}});
    for (std::size_t r = 0; order && r < runs.size(); ++r) {
        draw_curve(svg, f, reference_line(runs[r], *order, f.window));
    }
    svg_close(svg);
}

std::string order_text(double order) {
    if (!std::isfinite(order)) {
        return "-";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", order);
    return text;
}

std::vector<LegendEntry> convergence_legend(std::span<const ConvergenceRun> runs,
                                            std::optional<long> order, bool left_out,
                                            Language language) {
    std::vector<LegendEntry> legend;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        legend.push_back({Swatch::LINE, "", GRAYS[r % STYLES], "1.5", DASHES[r % STYLES],
                          label(language, "%s: ordem medida %s",
                                {runs[r].problem, order_text(runs[r].measured_order)})});
    }
    legend.push_back(
        order ? LegendEntry{Swatch::LINE, "", "#808080", "1.2", "2 4",
                            label(language,
                                  "inclinacao %s, a ordem de convergencia, pelo erro do "
                                  "menor h",
                                  {std::to_string(*order)})}
              : LegendEntry{Swatch::NONE, "", "", "", "",
                            label(language, "sem reta de referencia: a ordem de convergencia nao "
                                            "e' conhecida")});
    if (left_out) {
        legend.push_back({Swatch::NONE, "", "", "", "",
                          label(language, "erros indefinidos, nulos ou alem dos doubles ficam de "
                                          "fora")});
    }
    return legend;
}

} // namespace

std::string convergence_picture(const std::string& title_name, std::span<const ConvergenceRun> runs,
                                std::optional<long> order, const PictureOptions& options) {
    const Language language = options.language;
    std::vector<std::vector<PlotPoint>> points;
    bool left_out = false;
    for (const ConvergenceRun& run : runs) {
        points.push_back(run_points(run));
        left_out = left_out || points.back().size() < run.steps.size();
    }
    std::vector<std::size_t> rows;
    const std::vector<LegendEntry> legend =
        wrap_legend(convergence_legend(runs, order, left_out, language),
                    page_width(640.0, options) - LEGEND_LEFT - RIGHT_MARGIN, &rows);
    const Page page = lay_out({640.0, 420.0, legend_height(legend.size()), false},
                              convergence_window(points), options);
    Frame f = page.frame;
    f.log_x = true;
    f.log_y = true;
    Svg svg;
    begin_page(svg, page, label(language, "Convergencia: %s", {title_name}),
               label(language, "Erro global contra o passo h, nos problemas de teste"), title_name);
    draw_runs(svg, f, points, order);
    draw_frame(svg, f, "h", label(language, "erro global"));
    draw_legend(svg, "legenda", LEGEND_LEFT, page.legend_top, legend);
    svg_open(svg, "g", {{"id", "legenda-marcas"}, {"stroke", "black"}});
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const double y = page.legend_top + legend_height(rows[r]) - 4.0;
        draw_marker(svg, LEGEND_LEFT + 14.0, y, r);
    }
    svg_close(svg);
    svg_end(svg);
    return std::move(svg.text);
}

} // namespace ordimet::analyse

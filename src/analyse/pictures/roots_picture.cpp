// The roots of rho in the complex plane, and the plane picture it shares
// with the cycle's eigenvalues.

#include "analyse/pictures/chart.hpp"
#include "analyse/pictures/plane.hpp"

#include <algorithm>
#include <cmath>

namespace ordimet::analyse {
namespace {

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

bool outside_window(const PlotRoot& root, double half) {
    return std::fabs(root.re) > half || std::fabs(root.im) > half;
}

// The notes below the legend: no roots, or the roots beyond the window.
std::vector<std::string> window_notes(std::span<const PlotRoot> roots, double half,
                                      std::string_view empty_note, Language language) {
    std::vector<std::string> notes;
    if (roots.empty()) {
        notes.emplace_back(empty_note);
    }
    for (const PlotRoot& root : roots) {
        if (outside_window(root, half)) {
            const std::string multiplicity =
                root.multiplicity > 1
                    ? label(language, ", multiplicidade %s", {std::to_string(root.multiplicity)})
                    : "";
            notes.push_back(label(language, "fora da janela: %s%s",
                                  {complex_text(root.re, root.im), multiplicity}));
        }
    }
    return notes;
}

void draw_roots(Svg& svg, const Frame& f, std::span<const PlotRoot> roots, double half) {
    svg_open(svg, "g", {{"id", "circulo"}, {"fill", "none"}, {"stroke", "black"}});
    svg_leaf(svg, "circle",
             {{"cx", svg_number(page_x(f, 0.0))},
              {"cy", svg_number(page_y(f, 0.0))},
              {"r", svg_number(f.width / (2.0 * half))}});
    svg_close(svg);
    svg_open(svg, "g", {{"id", "raizes"}});
    for (const PlotRoot& root : roots) {
        if (outside_window(root, half)) {
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
}

// The legend: the circle, the three markers and the multiplicity, then the
// notes (wrapped).
constexpr std::size_t KEY_ROWS = 5;

void draw_plane_legend(Svg& svg, double top, std::span<const LegendEntry> notes,
                       Language language) {
    svg_open(svg, "g", {{"id", "legenda"}});
    draw_legend_entry(
        svg, LEGEND_LEFT, top,
        {Swatch::LINE, "", "black", "1", "", label(language, "circulo unitario |ζ| = 1")});
    const char* const names[] = {"dentro do circulo", "sobre o circulo", "fora do circulo"};
    const Location locations[] = {Location::INSIDE, Location::ON, Location::OUTSIDE};
    for (int i = 0; i < 3; ++i) {
        const double y = top + LEGEND_ROW * (i + 1);
        draw_marker(svg, LEGEND_LEFT + 14.0, y - 4.0, locations[i]);
        svg_text(svg, "text", {{"x", svg_number(LEGEND_LEFT + 36.0)}, {"y", svg_number(y)}},
                 label(language, names[i]));
    }
    svg_text(svg, "text",
             {{"x", svg_number(LEGEND_LEFT + 36.0)}, {"y", svg_number(top + 4.0 * LEGEND_ROW)}},
             label(language, "×n: multiplicidade n"));
    for (std::size_t i = 0; i < notes.size(); ++i) {
        draw_legend_entry(svg, LEGEND_LEFT - 36.0, top + legend_height(KEY_ROWS + i), notes[i]);
    }
    svg_close(svg);
}

} // namespace

std::string plane_picture(const std::string& title, const std::string& heading,
                          const std::string& subtitle, std::span<const PlotRoot> roots,
                          std::string_view empty_note, const PictureOptions& options) {
    double largest = 0.0;
    for (const PlotRoot& root : roots) {
        largest = std::max(largest, std::hypot(root.re, root.im));
    }
    // Left to us: 4 keeps the unit circle large enough to judge roots near
    // it whatever else there is; a root farther out is named in words.
    const double half = std::min(4.0, std::max(1.5, 1.2 * largest));
    std::vector<LegendEntry> notes;
    for (std::string& note : window_notes(roots, half, empty_note, options.language)) {
        notes.push_back({Swatch::NONE, "", "", "", "", std::move(note)});
    }
    notes = wrap_legend(notes, page_width(560.0, options) - LEGEND_LEFT - RIGHT_MARGIN + 36.0);
    const Page page = lay_out({560.0, 420.0, legend_height(KEY_ROWS + notes.size()), true},
                              {-half, half, -half, half}, options);
    Svg svg;
    begin_page(svg, page, title, heading, subtitle);
    draw_axes(svg, page.frame);
    draw_roots(svg, page.frame, roots, half);
    draw_frame(svg, page.frame, "Re ζ", "Im ζ");
    draw_plane_legend(svg, page.legend_top, notes, options.language);
    svg_end(svg);
    return std::move(svg.text);
}

std::string roots_picture(const AlgorithmAnalysis& algorithm, const PictureOptions& options) {
    std::vector<PlotRoot> roots;
    for (const Root& root : algorithm.roots) {
        roots.push_back({root.re, root.im, root.multiplicity, root.location});
    }
    const Language language = options.language;
    return plane_picture(label(language, "Raizes de rho: %s", {algorithm.file}),
                         label(language, "Raizes de rho(ζ)"), algorithm.file, roots,
                         algorithm.rho_zero ? label(language, "rho e' o polinomio nulo.")
                                            : label(language, "rho e' constante: nao tem raizes."),
                         options);
}

} // namespace ordimet::analyse

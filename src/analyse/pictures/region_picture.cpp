// The region picture of an algorithm for y' = f: S shaded in the z plane,
// its boundary locus, the real stability interval and the A(alpha) wedge.

#include "analyse/pictures/chart.hpp"
#include "analyse/report/format.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ordimet::analyse {
namespace {

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

// The degree of the pair without its common factor, or -1 when S is empty
// (the factor's fixed roots are not allowed in it) or the pair vanishes.
long region_degree(const AlgorithmSamples& samples) {
    long degree = -1;
    const std::size_t count = std::min(samples.region_rho.size(), samples.region_sigma.size());
    for (std::size_t j = 0; j < count; ++j) {
        if (samples.region_rho[j] != 0.0 || samples.region_sigma[j] != 0.0) {
            degree = static_cast<long>(j);
        }
    }
    return samples.fixed_roots_allowed ? degree : -1;
}

// A grid of square cells over the plot area.
struct Cells {
    int columns = 0;
    int rows = 0;
    double width = 0.0;
    double height = 0.0;
};

// Left to us: cells of 2.5 units (200 a side at the picture's own size) up
// to degree 16, fewer above so that a step of 64 stays within a few tenths
// of a second (the test costs about degree^2 per cell); at least 50 and at
// most 800 along the longer side.
Cells cell_grid(const Frame& f, long degree) {
    const double longer = std::max(f.width, f.height);
    const double most =
        std::min(800.0, std::max(50.0, 3200.0 / std::max(1.0, static_cast<double>(degree))));
    const double along = std::clamp(std::round(longer / 2.5), 50.0, most);
    const double side = longer / along;
    Cells cells;
    cells.columns = std::max(1, static_cast<int>(std::round(f.width / side)));
    cells.rows = std::max(1, static_cast<int>(std::round(f.height / side)));
    cells.width = f.width / cells.columns;
    cells.height = f.height / cells.rows;
    return cells;
}

// The region S shaded cell by cell: a cell belongs to S when every root of
// pi(zeta; z) at its centre is strictly inside the circle (S's boundary,
// where roots are on the circle, has no area; the fixed roots of a common
// factor are left out, see region_degree). Runs of cells of one row are
// merged into one rectangle. False when no cell was shaded.
bool draw_region(Svg& svg, const Frame& f, const AlgorithmSamples& samples) {
    svg_open(svg, "g",
             {{"id", "regiao"},
              {"fill", "#c8c8c8"},
              {"stroke", "none"},
              {"shape-rendering", "crispEdges"}});
    const long degree = region_degree(samples);
    const std::size_t size = static_cast<std::size_t>(degree + 1);
    const Cells cells = cell_grid(f, degree);
    const PlotWindow& w = f.window;
    bool shaded = false;
    // Four rows of coefficients, swapped by the test but never resized.
    std::vector<double> re(size);
    std::vector<double> im(size);
    std::vector<double> re2(size);
    std::vector<double> im2(size);
    for (int row = 0; degree >= 0 && row < cells.rows; ++row) {
        const double y = w.y_max - (row + 0.5) / cells.rows * (w.y_max - w.y_min);
        int run_start = -1;
        for (int column = 0; column <= cells.columns; ++column) {
            bool inside = false;
            if (column < cells.columns) {
                const double x = w.x_min + (column + 0.5) / cells.columns * (w.x_max - w.x_min);
                for (std::size_t j = 0; j < size; ++j) {
                    re[j] = samples.region_rho[j] - x * samples.region_sigma[j];
                    im[j] = -y * samples.region_sigma[j];
                }
                inside = all_roots_inside(re, im, re2, im2);
            }
            if (inside && run_start < 0) {
                run_start = column;
            } else if (!inside && run_start >= 0) {
                svg_leaf(svg, "rect",
                         {{"x", svg_number(f.left + run_start * cells.width)},
                          {"y", svg_number(f.top + row * cells.height)},
                          {"width", svg_number((column - run_start) * cells.width)},
                          {"height", svg_number(cells.height)}});
                run_start = -1;
                shaded = true;
            }
        }
    }
    svg_close(svg);
    return shaded;
}

std::string degrees_text(double degrees) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f°", degrees);
    return text;
}

std::vector<LegendEntry> region_legend(const AbsoluteStability& s, Language language) {
    const auto say_it = [&](const char* text, std::initializer_list<std::string_view> parts = {}) {
        return label(language, text, parts);
    };
    std::string interval_text = say_it("intervalo real: nao decidido");
    std::string wedge_text = say_it("cunha A(α): nao decidida");
    if (s.status == RegionStatus::DECIDED) {
        switch (s.real_interval.kind) {
        case IntervalEnd::Kind::NONE:
            interval_text = say_it("sem intervalo real de estabilidade");
            break;
        case IntervalEnd::Kind::FINITE:
            interval_text =
                say_it("intervalo real (-a, 0), a = %s", {interval_end_text(s.real_interval)});
            break;
        case IntervalEnd::Kind::INFINITE:
            interval_text = say_it("intervalo real: todo o semieixo negativo");
            break;
        }
        wedge_text = s.a_stable ? say_it("A-estavel: S contem o semiplano Re z < 0")
                     : s.alpha_degrees > 0.0
                         ? say_it("cunha A(α), α = %s", {degrees_text(s.alpha_degrees)})
                         : say_it("sem cunha A(α) (α = 0)");
    }
    // S as the analysis decides it: the closed disk, simple on the circle.
    return {
        {Swatch::FILL, "#c8c8c8", "", "", "", say_it("regiao S de estabilidade absoluta:")},
        {Swatch::NONE, "", "", "", "",
         say_it("as raizes de rho(ζ) - z sigma(ζ) em |ζ| ≤ 1, simples em |ζ| = 1")},
        {Swatch::LINE, "", "black", "1.5", "", say_it("fronteira z(θ) = rho(e^iθ) / sigma(e^iθ)")},
        {Swatch::LINE, "", "black", "5", "", interval_text},
        {Swatch::LINE, "", "black", "1.5", "8 4", wedge_text},
    };
}

// The real stability interval (-a, 0) on the real axis.
void draw_interval(Svg& svg, const Frame& f, const AbsoluteStability& s) {
    if (s.status != RegionStatus::DECIDED || s.real_interval.kind == IntervalEnd::Kind::NONE) {
        return;
    }
    const double left = s.real_interval.kind == IntervalEnd::Kind::FINITE
                            ? std::max(-s.real_interval.value, f.window.x_min)
                            : f.window.x_min;
    svg_open(svg, "g",
             {{"id", "intervalo-real"},
              {"stroke", "black"},
              {"stroke-width", "5"},
              {"clip-path", "url(#area)"}});
    svg_leaf(svg, "line",
             {{"x1", svg_number(page_x(f, std::min(left, 0.0)))},
              {"y1", svg_number(page_y(f, 0.0))},
              {"x2", svg_number(page_x(f, 0.0))},
              {"y2", svg_number(page_y(f, 0.0))}});
    svg_close(svg);
}

// The rays arg(-z) = +-alpha from the origin to beyond the window, and an
// arc between them marked with the letter alpha. The rays are drawn in the
// plane's units, and the arc between them as they show on the page, so that
// both hold also when the two axes have different scales.
void draw_wedge(Svg& svg, const Frame& f, const AbsoluteStability& s) {
    if (s.status != RegionStatus::DECIDED || !(s.a_stable || s.alpha_degrees > 0.0)) {
        return;
    }
    const double alpha = (s.a_stable ? 90.0 : s.alpha_degrees) * PI / 180.0;
    const PlotWindow& w = f.window;
    const double reach = 2.0 * std::hypot(std::max(std::fabs(w.x_min), std::fabs(w.x_max)),
                                          std::max(std::fabs(w.y_min), std::fabs(w.y_max)));
    const double ox = page_x(f, 0.0);
    const double oy = page_y(f, 0.0);
    // The upper ray's direction on the page (y grows downwards there).
    const double dx = page_x(f, -std::cos(alpha)) - ox;
    const double dy = page_y(f, std::sin(alpha)) - oy;
    const double angle = std::atan2(-dy, -dx); // from the negative page x axis, upwards
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
                  {"x2", svg_number(page_x(f, -reach * std::cos(alpha)))},
                  {"y2", svg_number(page_y(f, sign * reach * std::sin(alpha)))}});
    }
    const double r = 0.15 * std::min(f.width, f.height);
    const std::string end_x = svg_number(ox - r * std::cos(angle));
    svg_leaf(svg, "path",
             {{"d", "M " + end_x + " " + svg_number(oy - r * std::sin(angle)) + " A " +
                        svg_number(r) + " " + svg_number(r) + " 0 0 0 " + end_x + " " +
                        svg_number(oy + r * std::sin(angle))},
              {"stroke-dasharray", "none"},
              {"stroke-width", "1"}});
    svg_text(svg, "text",
             {{"x", svg_number(ox - (r + 14.0) * std::cos(angle / 2.0))},
              {"y", svg_number(oy - (r + 14.0) * std::sin(angle / 2.0) + 4.0)},
              {"text-anchor", "middle"},
              {"stroke", "none"},
              {"fill", "black"}},
             "α");
    svg_close(svg);
}

} // namespace

std::string region_picture(const AlgorithmAnalysis& algorithm, const AlgorithmSamples& samples,
                           const PictureOptions& options) {
    const Language language = options.language;
    const std::vector<LegendEntry> legend =
        wrap_legend(region_legend(algorithm.absolute, language),
                    page_width(640.0, options) - LEGEND_LEFT - RIGHT_MARGIN);
    // Left to us: the plane keeps one scale on both axes, except that a
    // window given with a size given fills the plot area that size leaves
    // (the two were chosen together).
    const bool equal_scale = !(options.window && options.width > 0);
    const PageRequest request{640.0, 500.0, legend_height(legend.size()), equal_scale};
    const Page page = lay_out(request, samples.window, options);
    const Frame& f = page.frame;
    Svg svg;
    begin_page(svg, page, label(language, "Regiao de estabilidade absoluta: %s", {algorithm.file}),
               label(language, "Regiao de estabilidade absoluta (y' = λy, z = hλ)"),
               algorithm.file);
    const bool shaded = draw_region(svg, f, samples);
    draw_axes(svg, f);
    svg_open(svg, "g",
             {{"id", "fronteira"},
              {"fill", "none"},
              {"stroke", "black"},
              {"stroke-width", "1.5"},
              {"clip-path", "url(#area)"}});
    draw_curve(svg, f, samples.locus);
    svg_close(svg);
    draw_interval(svg, f, algorithm.absolute);
    draw_wedge(svg, f, algorithm.absolute);
    draw_frame(svg, f, "Re z", "Im z");
    if (!shaded) {
        // Said over the plot area, on a white halo, where it leaves the
        // legend as it is.
        svg_text(svg, "text",
                 {{"id", "nota"},
                  {"x", svg_number(f.left + 8.0)},
                  {"y", svg_number(f.top + 18.0)},
                  {"stroke", "white"},
                  {"stroke-width", "4"},
                  {"paint-order", "stroke"}},
                 label(language, "S nao tem interior visivel nesta janela"));
    }
    draw_legend(svg, "legenda", LEGEND_LEFT, page.legend_top, legend);
    svg_end(svg);
    return std::move(svg.text);
}

} // namespace ordimet::analyse

// The branches picture of an algorithm for y'' = f: the moduli of the roots
// of rho + H^2 sigma, each root followed continuously as H^2 grows, with the
// intervals of periodicity and of absolute stability.
//
// A pair of complex conjugate roots has one modulus: left to us, the pair is
// drawn once, thick, in the style of its branch in the upper half-plane,
// and a real root thin in the style of its own branch; so a line is a pair
// exactly where it is thick, and the branches stay told apart where a pair
// meets on the real axis and parts into two real roots.

#include "analyse/pictures/chart.hpp"
#include "analyse/report/format.hpp"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <optional>

namespace ordimet::analyse {
namespace {

using Complex = std::complex<double>;

constexpr double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();
// Imaginary parts below this times the modulus (times 1 inside the unit
// disk) count as real: rounding leaves about the square root of the
// machine epsilon at a double root.
constexpr double REAL_PART = 1e-6;
// Curve styles: dash patterns and grays, so that black and white print
// tells them apart. Left to us: six styles, repeated from the seventh
// branch on; the legend names the branches of each style.
constexpr std::size_t STYLES = 6;
const char* const DASHES[STYLES] = {"", "8 4", "2 3", "10 3 2 3", "5 5", "1 3"};
const char* const GRAYS[STYLES] = {"black", "#404040", "black", "#606060", "black", "#404040"};
const char* const PAIR_WIDTH = "3.4";
const char* const REAL_WIDTH = "1.4";

enum class Kind { NONE, REAL, UPPER, LOWER };

Kind kind_of(Complex z) {
    if (!std::isfinite(z.real()) || !std::isfinite(z.imag())) {
        return Kind::NONE;
    }
    if (std::fabs(z.imag()) <= REAL_PART * std::max(1.0, std::abs(z))) {
        return Kind::REAL;
    }
    return z.imag() > 0.0 ? Kind::UPPER : Kind::LOWER;
}

// The drawn parts of one branch: where it is (the upper member of) a pair,
// and where it is real; NaN points between pieces.
struct BranchLines {
    std::vector<PlotPoint> pair;
    std::vector<PlotPoint> real;
};

// Appends the segment p-q to a curve, joined to its last piece when it goes
// on from it.
void add_segment(std::vector<PlotPoint>& curve, bool& going_on, PlotPoint p, PlotPoint q) {
    if (!going_on) {
        if (!curve.empty()) {
            curve.push_back({NOT_A_NUMBER, NOT_A_NUMBER});
        }
        curve.push_back(p);
    }
    curve.push_back(q);
    going_on = true;
}

// A segment between two values is drawn when neither end is missing or the
// lower member of a pair (its partner draws it), thick when either end is
// a pair.
BranchLines branch_lines(const AlgorithmSamples& samples, std::size_t branch) {
    BranchLines lines;
    bool pair_goes_on = false;
    bool real_goes_on = false;
    const std::size_t n = samples.degree;
    for (std::size_t i = 1; i < samples.branch_h2.size(); ++i) {
        const Complex a = samples.branches[(i - 1) * n + branch];
        const Complex b = samples.branches[i * n + branch];
        const Kind ka = kind_of(a);
        const Kind kb = kind_of(b);
        const bool drawn =
            ka != Kind::NONE && kb != Kind::NONE && ka != Kind::LOWER && kb != Kind::LOWER;
        const bool pair = ka == Kind::UPPER || kb == Kind::UPPER;
        const PlotPoint p{samples.branch_h2[i - 1], std::abs(a)};
        const PlotPoint q{samples.branch_h2[i], std::abs(b)};
        if (drawn && pair) {
            add_segment(lines.pair, pair_goes_on, p, q);
        } else if (drawn) {
            add_segment(lines.real, real_goes_on, p, q);
        }
        pair_goes_on = pair_goes_on && drawn && pair;
        real_goes_on = real_goes_on && drawn && !pair;
    }
    return lines;
}

std::string complex_text(Complex z) {
    std::string text = number_text(std::round(z.real() * 1e3) / 1e3);
    const double im = std::round(z.imag() * 1e3) / 1e3;
    if (im != 0.0) {
        text += im < 0.0 ? " - " : " + ";
        text += number_text(std::fabs(im));
        text += "i";
    }
    return text;
}

// The branch whose root is the conjugate of this one's where this one is
// first in the lower half-plane; none when it never is.
std::optional<std::size_t> partner(const AlgorithmSamples& samples, std::size_t branch) {
    const std::size_t n = samples.degree;
    for (std::size_t i = 0; i < samples.branch_h2.size(); ++i) {
        const Complex z = samples.branches[i * n + branch];
        if (kind_of(z) != Kind::LOWER) {
            continue;
        }
        std::optional<std::size_t> nearest;
        for (std::size_t b = 0; b < n; ++b) {
            const Complex w = samples.branches[i * n + b];
            if (b != branch && kind_of(w) == Kind::UPPER &&
                (!nearest || std::abs(w - std::conj(z)) <
                                 std::abs(samples.branches[i * n + *nearest] - std::conj(z)))) {
                nearest = b;
            }
        }
        return nearest;
    }
    return std::nullopt;
}

// "ζ3, from -0.5 + 0.866i": a branch by its first root; a branch that is
// never drawn (always the lower member of a pair) also names its partner.
std::string branch_text(const AlgorithmSamples& samples, std::size_t branch, bool drawn,
                        Language language) {
    Complex first{NOT_A_NUMBER, NOT_A_NUMBER};
    for (std::size_t i = 0; i < samples.branch_h2.size() && kind_of(first) == Kind::NONE; ++i) {
        first = samples.branches[i * samples.degree + branch];
    }
    const std::string name = std::to_string(branch + 1);
    if (kind_of(first) == Kind::NONE) {
        return "ζ" + name;
    }
    const std::optional<std::size_t> pair = drawn ? std::nullopt : partner(samples, branch);
    return pair ? label(language, "ζ%s, de %s: conjugada de ζ%s",
                        {name, complex_text(first), std::to_string(*pair + 1)})
                : label(language, "ζ%s, de %s", {name, complex_text(first)});
}

// The legend of the curves: one entry per style, naming its branches.
std::vector<LegendEntry> branch_legend(const AlgorithmSamples& samples,
                                       std::span<const BranchLines> lines, Language language) {
    std::vector<LegendEntry> entries;
    for (std::size_t i = 0; i < std::min(samples.degree, STYLES); ++i) {
        const bool drawn = !lines[i].pair.empty() || !lines[i].real.empty();
        std::string text = branch_text(samples, i, drawn, language);
        for (std::size_t j = i + STYLES; j < samples.degree && j < i + 3 * STYLES; j += STYLES) {
            text += "; ζ" + std::to_string(j + 1);
        }
        text += i + 3 * STYLES < samples.degree ? "; ..." : "";
        entries.push_back({Swatch::LINE, "", GRAYS[i], "1.8", DASHES[i], text});
    }
    return entries;
}

// An interval end as the legend shows it: "∞" for an interval without end.
std::string end_text(const IntervalEnd& end) {
    return end.kind == IntervalEnd::Kind::INFINITE ? "∞" : interval_end_text(end);
}

// The intervals and what they are, in rows across the width, then the
// circle and the two widths.
std::vector<LegendEntry> interval_legend(const Periodicity& p, Language language) {
    const bool decided = p.status == RegionStatus::DECIDED;
    const auto say_it = [&](const char* text, std::initializer_list<std::string_view> parts = {}) {
        return label(language, text, parts);
    };
    std::string periodic = say_it("intervalo de periodicidade: nao decidido");
    std::string absolute = say_it("intervalo de estabilidade absoluta: nao decidido");
    if (decided && p.periodicity.kind != IntervalEnd::Kind::NONE) {
        periodic = say_it("intervalo de periodicidade (0, %s)%s:",
                          {end_text(p.periodicity), p.p_stable ? say_it(", P-estavel") : ""});
    } else if (decided) {
        periodic = say_it("sem intervalo de periodicidade");
    }
    if (decided && p.absolute.kind != IntervalEnd::Kind::NONE) {
        absolute = say_it("intervalo de estabilidade absoluta (0, %s):", {end_text(p.absolute)});
    } else if (decided) {
        absolute = say_it("sem intervalo de estabilidade absoluta");
    }
    // What the analysis decides, under each interval that there is.
    std::vector<LegendEntry> legend{{Swatch::FILL, "#d0d0d0", "", "", "", periodic}};
    if (decided && p.periodicity.kind != IntervalEnd::Kind::NONE) {
        legend.push_back({Swatch::NONE, "", "", "", "",
                          say_it("as raizes principais em |ζ| = 1, as outras em |ζ| ≤ 1, simples "
                                 "em |ζ| = 1")});
    }
    legend.push_back({Swatch::HATCH, "", "", "", "", absolute});
    if (decided && p.absolute.kind != IntervalEnd::Kind::NONE) {
        legend.push_back({Swatch::NONE, "", "", "", "", say_it("todas as raizes em |ζ| < 1")});
    }
    return legend;
}

std::vector<LegendEntry> line_legend(Language language) {
    return {
        {Swatch::LINE, "", "black", "0.8", "3 3", "|ζ| = 1"},
        {Swatch::LINE, "", "black", PAIR_WIDTH, "", label(language, "par conjugado ζ, ζ̄")},
        {Swatch::LINE, "", "black", REAL_WIDTH, "", label(language, "raiz real")},
    };
}

// A band over (0, end) of the intervals, within the window.
void draw_band(Svg& svg, const Frame& f, const char* id, const IntervalEnd& end, const char* fill) {
    if (end.kind == IntervalEnd::Kind::NONE) {
        return;
    }
    const double right = end.kind == IntervalEnd::Kind::FINITE ? end.value : f.window.x_max;
    const double left = page_x(f, std::max(0.0, f.window.x_min));
    const double width = page_x(f, std::min(right, f.window.x_max)) - left;
    svg_open(svg, "g", {{"id", id}, {"clip-path", "url(#area)"}});
    if (width > 0.0) {
        svg_leaf(svg, "rect",
                 {{"x", svg_number(left)},
                  {"y", svg_number(f.top)},
                  {"width", svg_number(width)},
                  {"height", svg_number(f.height)},
                  {"fill", fill}});
    }
    svg_close(svg);
}

void draw_unit_line(Svg& svg, const Frame& f) {
    svg_open(svg, "g",
             {{"id", "modulo-um"},
              {"stroke", "black"},
              {"stroke-width", "0.8"},
              {"stroke-dasharray", "3 3"},
              {"clip-path", "url(#area)"}});
    svg_leaf(svg, "line",
             {{"x1", svg_number(f.left)},
              {"y1", svg_number(page_y(f, 1.0))},
              {"x2", svg_number(f.left + f.width)},
              {"y2", svg_number(page_y(f, 1.0))}});
    svg_close(svg);
}

void draw_branches(Svg& svg, const Frame& f, std::span<const BranchLines> all_lines) {
    svg_open(svg, "g", {{"id", "modulos"}, {"fill", "none"}, {"clip-path", "url(#area)"}});
    std::vector<PlotPoint> clipped;
    for (std::size_t b = 0; b < all_lines.size(); ++b) {
        const BranchLines& lines = all_lines[b];
        svg_open(svg, "g",
                 {{"id", "ramo-" + std::to_string(b + 1)},
                  {"stroke", GRAYS[b % STYLES]},
                  {"stroke-dasharray", *DASHES[b % STYLES] ? DASHES[b % STYLES] : "none"}});
        for (const bool pair : {true, false}) {
            clip_curve(pair ? lines.pair : lines.real, f.window, clipped);
            svg_open(svg, "g", {{"stroke-width", pair ? PAIR_WIDTH : REAL_WIDTH}});
            draw_curve(svg, f, clipped);
            svg_close(svg);
        }
        svg_close(svg);
    }
    svg_close(svg);
}

// The legend: the intervals across the page, then the lines and the
// curves side by side, or one below the other on a page narrower than the
// picture's own.
struct BranchesLegend {
    std::vector<LegendEntry> intervals;
    std::vector<LegendEntry> lines;
    std::vector<LegendEntry> curves;
    bool side_by_side = true;

    std::size_t rows() const {
        return intervals.size() + (side_by_side ? std::max(lines.size(), curves.size())
                                                : lines.size() + curves.size());
    }
};

constexpr double OWN_WIDTH = 720.0;
constexpr double SECOND_COLUMN = 260.0;

BranchesLegend branches_legend(const AlgorithmAnalysis& algorithm, const AlgorithmSamples& samples,
                               std::span<const BranchLines> branches,
                               const PictureOptions& options) {
    const Language language = options.language;
    const double width = page_width(OWN_WIDTH, options) - LEGEND_LEFT - RIGHT_MARGIN;
    BranchesLegend legend;
    legend.side_by_side = width >= OWN_WIDTH - LEGEND_LEFT - RIGHT_MARGIN;
    const double column = legend.side_by_side ? SECOND_COLUMN : width;
    legend.intervals = wrap_legend(interval_legend(algorithm.periodicity, language), width);
    legend.lines = wrap_legend(line_legend(language), column);
    legend.curves = wrap_legend(branch_legend(samples, branches, language),
                                legend.side_by_side ? width - SECOND_COLUMN : width);
    return legend;
}

void draw_branches_legend(Svg& svg, const BranchesLegend& legend, double top) {
    draw_legend(svg, "legenda", LEGEND_LEFT, top, legend.intervals);
    const double below = top + legend_height(legend.intervals.size());
    draw_legend(svg, "legenda-linhas", LEGEND_LEFT, below, legend.lines);
    if (legend.side_by_side) {
        draw_legend(svg, "legenda-curvas", LEGEND_LEFT + SECOND_COLUMN, below, legend.curves);
    } else {
        draw_legend(svg, "legenda-curvas", LEGEND_LEFT, below + legend_height(legend.lines.size()),
                    legend.curves);
    }
}

} // namespace

std::string branches_picture(const AlgorithmAnalysis& algorithm, const AlgorithmSamples& samples,
                             const PictureOptions& options) {
    const Language language = options.language;
    const Periodicity& p = algorithm.periodicity;
    std::vector<BranchLines> branches;
    for (std::size_t b = 0; b < samples.degree; ++b) {
        branches.push_back(branch_lines(samples, b));
    }
    const BranchesLegend legend = branches_legend(algorithm, samples, branches, options);
    const Page page =
        lay_out({OWN_WIDTH, 320.0, legend_height(legend.rows()), false}, samples.window, options);
    const Frame& f = page.frame;
    Svg svg;
    begin_page(
        svg, page, label(language, "Modulos das raizes de rho + H² sigma: %s", {algorithm.file}),
        label(language, "Ramos das raizes de rho(ζ) + H² sigma(ζ): |ζ| (y'' = -ω²y, H = hω)"),
        algorithm.file);
    define_hatch(svg);
    if (p.status == RegionStatus::DECIDED) {
        draw_band(svg, f, "periodicidade", p.periodicity, "#d0d0d0");
        draw_band(svg, f, "estabilidade-absoluta", p.absolute, "url(#hachura)");
    }
    draw_unit_line(svg, f);
    draw_branches(svg, f, branches);
    draw_frame(svg, f, "H² = (hω)²", "|ζ|");
    draw_branches_legend(svg, legend, page.legend_top);
    svg_end(svg);
    return std::move(svg.text);
}

} // namespace ordimet::analyse

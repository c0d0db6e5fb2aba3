// The phase-error picture of an algorithm for y'' = f: theta(H) - H against
// H for its principal root e^{i theta(H)}, with the leading term
// c H^(q + 1) of its phase lag as a reference curve.

#include "analyse/pictures/chart.hpp"
#include "analyse/report/format.hpp"

#include <algorithm>
#include <cmath>

namespace ordimet::analyse {
namespace {

// The window: H over the sampled range, the error from its least to its
// largest value and 0, with a margin; the reference curve is clipped to it.
PlotWindow phase_window(const AlgorithmSamples& samples) {
    double low = 0.0;
    double high = 0.0;
    for (const double value : samples.phase_error) {
        if (std::isfinite(value)) {
            low = std::min(low, value);
            high = std::max(high, value);
        }
    }
    const double margin = 0.08 * std::max(high - low, 1e-12);
    const double right = samples.phase_h.empty() ? 1.0 : samples.phase_h.back();
    return {0.0, right > 0.0 ? right : 1.0, low - margin, high + margin};
}

std::vector<PlotPoint> curve(std::span<const double> x, std::span<const double> y) {
    std::vector<PlotPoint> points;
    for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
        points.push_back({x[i], y[i]});
    }
    return points;
}

// "1/480 H⁵": the leading term of the phase lag, exact when short.
std::string leading_term(const Periodicity& p) {
    std::string constant = rational_text(p.phase_lag_constant);
    if (constant.size() > 24) {
        constant = number_text(p.phase_lag_decimal);
    }
    return constant + " H" + superscript(p.phase_lag_order + 1);
}

std::vector<LegendEntry> phase_legend(const Periodicity& p, const AlgorithmSamples& samples,
                                      Language language) {
    std::vector<LegendEntry> legend{
        {Swatch::LINE, "", "black", "1.8", "",
         label(language, "θ(H) - H, com e^iθ(H) a raiz principal (a que sai de 1 com Im ζ > 0)")},
        {Swatch::LINE, "", "black", "1.4", "7 4",
         p.phase_lag_known ? label(language, "termo principal do atraso de fase: c H^(q+1) = %s",
                                   {leading_term(p)})
                           : label(language, "termo principal do atraso de fase: nao conhecido")},
    };
    const std::string end = number_text(samples.phase_h.empty() ? 0.0 : samples.phase_h.back());
    const char* range = "H de 0 a π: o intervalo de periodicidade nao tem fim";
    if (p.periodicity.kind == IntervalEnd::Kind::FINITE) {
        range = "H de 0 ao fim do intervalo de periodicidade, Hp = %s";
    } else if (p.periodicity.kind == IntervalEnd::Kind::NONE) {
        range = "H de 0 a π: nao ha intervalo de periodicidade";
    }
    legend.push_back({Swatch::NONE, "", "", "", "", label(language, range, {end})});
    return legend;
}

void draw_phase_curves(Svg& svg, const Frame& f, const AlgorithmSamples& samples) {
    std::vector<PlotPoint> clipped;
    clip_curve(curve(samples.phase_h, samples.phase_reference), f.window, clipped);
    svg_open(svg, "g",
             {{"id", "referencia"},
              {"fill", "none"},
              {"stroke", "black"},
              {"stroke-width", "1.4"},
              {"stroke-dasharray", "7 4"},
              {"clip-path", "url(#area)"}});
    draw_curve(svg, f, clipped);
    svg_close(svg);
    clip_curve(curve(samples.phase_h, samples.phase_error), f.window, clipped);
    svg_open(svg, "g",
             {{"id", "fase"},
              {"fill", "none"},
              {"stroke", "black"},
              {"stroke-width", "1.8"},
              {"clip-path", "url(#area)"}});
    draw_curve(svg, f, clipped);
    svg_close(svg);
}

} // namespace

std::string phase_picture(const AlgorithmAnalysis& algorithm, const AlgorithmSamples& samples,
                          const PictureOptions& options) {
    const Language language = options.language;
    const Periodicity& p = algorithm.periodicity;
    const std::vector<LegendEntry> legend =
        wrap_legend(phase_legend(p, samples, language),
                    page_width(720.0, options) - LEGEND_LEFT - RIGHT_MARGIN);
    const Page page = lay_out({720.0, 320.0, legend_height(legend.size()), false},
                              phase_window(samples), options);
    Svg svg;
    begin_page(svg, page, label(language, "Erro de fase: %s", {algorithm.file}),
               label(language, "Erro de fase da raiz principal (y'' = -ω²y, H = hω)"),
               algorithm.file);
    draw_axes(svg, page.frame);
    draw_phase_curves(svg, page.frame, samples);
    draw_frame(svg, page.frame, "H = hω", "θ(H) - H");
    draw_legend(svg, "legenda", LEGEND_LEFT, page.legend_top, legend);
    svg_end(svg);
    return std::move(svg.text);
}

} // namespace ordimet::analyse

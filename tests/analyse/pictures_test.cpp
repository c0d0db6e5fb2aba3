// The numbers and the layout of the pictures: the phase error of the
// principal root against closed forms, the pages of a given size, legends
// wrapped to a width, and texts filled in the language asked for.
#include "analyse/pictures/chart.hpp"
#include "analyse/sampling/sampling.hpp"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ordimet::analyse {
namespace {

// A method for y'' = f from rho and sigma (numerators over one denominator
// each, ascending powers) with the end of its interval of periodicity.
AlgorithmAnalysis method_for_y2(std::vector<long> rho, std::vector<long> sigma,
                                unsigned long sigma_denominator, IntervalEnd end) {
    AlgorithmAnalysis algorithm;
    for (std::size_t j = 0; j < rho.size(); ++j) {
        algorithm.rho.emplace_back(rho[j], 1);
        algorithm.sigma.emplace_back(sigma[j], sigma_denominator);
    }
    algorithm.periodicity.status = RegionStatus::DECIDED;
    algorithm.periodicity.periodicity = end;
    return algorithm;
}

struct PhaseCase {
    const char* name;
    AlgorithmAnalysis algorithm;
    double range;                        // the last H sampled
    std::function<double(double)> theta; // the principal root's argument
};

// Stormer: theta = 2 arcsin(H/2) on (0, 4); Numerov: cos theta =
// (1 - 5H^2/12) / (1 + H^2/12) on (0, 6); the P-stable pair
// rho = (z - 1)^2, sigma = (z + 1)^2 / 4: theta = 2 arctan(H/2), to pi.
TEST(PhaseError, FollowsThePrincipalRootToTheEndOfPeriodicity) {
    const std::vector<PhaseCase> cases{
        {"stormer", method_for_y2({1, -2, 1}, {0, 1, 0}, 1, {IntervalEnd::Kind::FINITE, 4.0, "4"}),
         2.0, [](double h) { return 2.0 * std::asin(h / 2.0); }},
        {"numerov",
         method_for_y2({1, -2, 1}, {1, 10, 1}, 12, {IntervalEnd::Kind::FINITE, 6.0, "6"}),
         std::sqrt(6.0),
         [](double h) { return std::acos((1.0 - 5.0 * h * h / 12.0) / (1.0 + h * h / 12.0)); }},
        {"p-stable", method_for_y2({1, -2, 1}, {1, 2, 1}, 4, {IntervalEnd::Kind::INFINITE, 0, ""}),
         PHASE_DEFAULT_RANGE, [](double h) { return 2.0 * std::atan(h / 2.0); }},
    };
    for (const PhaseCase& c : cases) {
        AlgorithmSamples samples;
        sample_algorithm(2, c.algorithm, std::nullopt, samples);
        ASSERT_EQ(samples.phase_h.size(), samples.phase_error.size()) << c.name;
        EXPECT_NEAR(samples.phase_h.back(), c.range, 1e-12) << c.name;
        for (std::size_t i = 0; i < samples.phase_h.size(); ++i) {
            const double h = samples.phase_h[i];
            // Near the end the principal roots meet: rounding of order
            // sqrt(epsilon) there, of epsilon / H near the double root at 0.
            EXPECT_NEAR(samples.phase_error[i], c.theta(h) - h, 1e-6) << c.name << " H = " << h;
        }
        EXPECT_TRUE(std::isnan(samples.phase_reference[1])) << c.name; // no phase lag given
    }
}

// Pages of a given size: text keeps its size unless the page is too narrow
// or too low, and the page has the size's shape.
TEST(Layout, KeepsTextSizeUnlessThePageIsTooSmall) {
    struct Row {
        int width, height;
        double scale; // pixels per user unit
    };
    const PageRequest request{720.0, 320.0, 100.0, false};
    // Least height: 70 + 160 + 70 + 100 + 10 = 410.
    for (const Row row : {Row{720, 0, 1.0}, Row{1200, 800, 1.0}, Row{480, 410, 1.0},
                          Row{480, 205, 0.5}, Row{180, 800, 0.5}}) {
        const PictureOptions options{Language::PORTUGUESE, std::nullopt, row.width, row.height};
        const Page page = lay_out(request, {0, 1, 0, 1}, options);
        EXPECT_NEAR(page.pixel_width / page.width, row.scale, 1e-12) << row.width;
        EXPECT_NEAR(page.pixel_height / page.height, row.scale, 1e-12) << row.width;
        if (row.height > 0) {
            EXPECT_NEAR(page.legend_top + 100.0 + 10.0, page.height, 1e-9); // legend, margin
        }
    }
    // A plane keeps one scale on both axes, centred in the room it has.
    const PictureOptions sized{Language::PORTUGUESE, std::nullopt, 800, 600};
    const Page plane = lay_out({640.0, 500.0, 100.0, true}, {-1, 3, -2, 2}, sized);
    EXPECT_NEAR(plane.frame.width, plane.frame.height, 1e-9);
    EXPECT_NEAR(plane.frame.left + plane.frame.width / 2.0, (90.0 + 800.0 - 50.0) / 2.0, 1e-9);
}

TEST(Legend, WrapsAtSpacesWithinTheWidth) {
    const std::string text = "as raizes principais em |ζ| = 1, as outras em |ζ| ≤ 1, simples";
    const std::vector<LegendEntry> entries{{Swatch::FILL, "#d0d0d0", "", "", "", "curta"},
                                           {Swatch::LINE, "", "black", "1", "", text}};
    std::vector<std::size_t> first_rows;
    const std::vector<LegendEntry> rows = wrap_legend(entries, 36.0 + 20 * 6.8, &first_rows);
    EXPECT_EQ(first_rows, (std::vector<std::size_t>{0, 1}));
    std::string joined;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].swatch, i == 1 ? Swatch::LINE : Swatch::NONE);
        joined += (i > 1 ? " " : "") + rows[i].text;
        const auto characters = std::count_if(rows[i].text.begin(), rows[i].text.end(),
                                              [](char c) { return (c & 0xC0) != 0x80; });
        EXPECT_LE(characters, 20) << rows[i].text;
    }
    EXPECT_EQ(joined, text);
    EXPECT_GE(rows.size(), 4u);
}

TEST(Label, FillsTheTextInTheLanguage) {
    EXPECT_EQ(label(Language::PORTUGUESE, "intervalo real (-a, 0), a = %s", {"2"}),
              "intervalo real (-a, 0), a = 2");
    EXPECT_EQ(label(Language::ENGLISH, "intervalo real (-a, 0), a = %s", {"2"}),
              "real interval (-a, 0), a = 2");
    EXPECT_EQ(label(Language::ENGLISH, "fora da janela: %s%s", {"5", ", multiplicity 2"}),
              "outside the window: 5, multiplicity 2");
    EXPECT_EQ(label(Language::ENGLISH, "%s: ordem medida %s", {"%s", "3.00"}),
              "%s: measured order 3.00"); // a part is never read again
}

} // namespace
} // namespace ordimet::analyse

#pragma once

// Pictures of an analysed method, as SVG documents, and the one call that
// writes them all into the folder of --plot:
// - m = 1: the region of absolute stability S in the complex z plane, with
//   its boundary locus, the real stability interval and the A(alpha) wedge;
// - m = 2: the branches of the roots of rho + H^2 sigma, their moduli
//   against H^2, with the intervals of periodicity and of absolute
//   stability; and the phase error theta(H) - H of the principal root;
// - every m: the roots of rho with the unit circle;
// - a cyclic method: the eigenvalues of its cycle with the unit circle;
// - with --converge: the errors of the integrations against h, log-log.
// The numbers drawn come from the sampling (AlgorithmSamples) and the model;
// what is drawn here is only placed on the page. Every text goes through
// `say` in the language of the options.

#include "analyse/model/method.hpp"
#include "analyse/pictures/picture_files.hpp"
#include "analyse/report/words.hpp"
#include "analyse/sampling/sampling.hpp"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ordimet::analyse {

// How the pictures are drawn: the language of their texts; the window of
// the main picture of each algorithm (the region for m = 1, the branches for
// m = 2) in place of the one chosen for it, which the sampling samples and
// clips in (sample_algorithm); the size of every picture in pixels (0 for
// each picture's own size, see lay_out in chart.hpp).
struct PictureOptions {
    Language language = Language::PORTUGUESE;
    std::optional<PlotWindow> window;
    int width = 0;
    int height = 0;
};

// The SVG documents themselves.
std::string region_picture(const AlgorithmAnalysis& algorithm, const AlgorithmSamples& samples,
                           const PictureOptions& options);
std::string branches_picture(const AlgorithmAnalysis& algorithm, const AlgorithmSamples& samples,
                             const PictureOptions& options);
std::string phase_picture(const AlgorithmAnalysis& algorithm, const AlgorithmSamples& samples,
                          const PictureOptions& options);
std::string roots_picture(const AlgorithmAnalysis& algorithm, const PictureOptions& options);
std::string cycle_picture(const MethodAnalysis& method, const PictureOptions& options);
// The runs of one method (SI, CI) or one algorithm (CO) against h; `order`
// is the slope of the reference lines, none when not known or below 1.
std::string convergence_picture(const std::string& title_name, std::span<const ConvergenceRun> runs,
                                std::optional<long> order, const PictureOptions& options);

// A picture that could not be written: its path (the folder as given, then
// the name) and why.
struct PictureFailure {
    std::string path;
    PictureWrite why = PictureWrite::FAILED;
};

// Writes the pictures of an analysed method into the folder, named after
// the stem of the file they belong to (see unique_stem):
//   STEM-raizes.svg         every algorithm: the roots of rho;
//   STEM-regiao.svg         m = 1: the region of absolute stability;
//   STEM-periodicidade.svg  m = 2: the root branches and the intervals;
//   STEM-fase.svg           m = 2 with principal roots: the phase error;
//   STEM-ciclo.svg          CI whose cycle was decided (first file's stem);
//   STEM-convergencia.svg   with --converge runs: SI and CI the method's
//                           (first file's stem), CO each algorithm's.
// The names are the same in every language. `samples` holds one entry per
// algorithm. A picture that can't be written is added to `failures` and the
// others are still written.
void write_pictures(const MethodAnalysis& method, std::span<const AlgorithmSamples> samples,
                    const PictureOptions& options, PictureFolder& folder,
                    std::vector<PictureFailure>& failures);

} // namespace ordimet::analyse

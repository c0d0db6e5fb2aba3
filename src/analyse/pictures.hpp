#pragma once

// Pictures of an analysed method, as SVG files:
// - m = 1: the region of absolute stability S in the complex z plane, with
//   its boundary locus, the real stability interval and the A(alpha) wedge;
// - m = 2: the moduli of the roots of rho + H^2 sigma against H^2, with the
//   intervals of periodicity and of absolute stability;
// - every m: the roots of rho with the unit circle;
// - a cyclic method: the eigenvalues of its cycle with the unit circle.
// The sampled curves are kept apart from the drawing so that the JSON
// report carries the same numbers the pictures show. Everything here
// computes in doubles: a picture needs no more.

#include "analyse/analysis.hpp"
#include "analyse/picture_files.hpp"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace ordimet::analyse {

// A point of a sampled curve; a point with NaN coordinates separates two
// pieces of it.
struct PlotPoint {
    double x = 0.0;
    double y = 0.0;
};

// The part of a plane a picture shows.
struct PlotWindow {
    double x_min = 0.0;
    double x_max = 1.0;
    double y_min = 0.0;
    double y_max = 1.0;
};

// The sampled curves of one algorithm.
struct AlgorithmSamples {
    // m = 1: the window of the region picture (square, symmetric about the
    // real axis) and the boundary locus z(theta) = rho(e^{i theta}) /
    // sigma(e^{i theta}) inside it, theta from 0 to 2 pi; pieces are
    // separated where the locus goes to infinity or leaves the window.
    PlotWindow window;
    std::vector<PlotPoint> locus;
    // m = 2: the values of H^2 and, for each, the moduli of the `degree`
    // roots of rho + H^2 sigma in descending order (row after row): infinity
    // for a root at infinity (the degree drops there), NaN where the
    // polynomial vanishes or the roots were not found.
    std::vector<double> h2;
    std::size_t degree = 0;
    std::vector<double> moduli;
};

// Fills the samples of one algorithm of a method for y^(m) = f.
void sample_algorithm(int m, const AlgorithmAnalysis& algorithm, AlgorithmSamples& samples);

// The SVG documents themselves.
std::string region_picture(const AlgorithmAnalysis& algorithm, const AlgorithmSamples& samples);
std::string periodicity_picture(const AlgorithmAnalysis& algorithm,
                                const AlgorithmSamples& samples);
std::string roots_picture(const AlgorithmAnalysis& algorithm);
std::string cycle_picture(const MethodAnalysis& method);

// A picture that could not be written: its path (the folder as given, then
// the name) and why.
struct PictureFailure {
    std::string path;
    PictureWrite why = PictureWrite::FAILED;
};

// Writes the pictures of an analysed method into the folder: for every
// algorithm the roots of rho and, for m = 1 or 2, its region or its
// periodicity picture; for a cyclic method whose cycle was decided, the
// cycle. `samples` holds one entry per algorithm. A picture that can't be
// written is added to `failures` and the others are still written.
void write_pictures(const MethodAnalysis& method, std::span<const AlgorithmSamples> samples,
                    PictureFolder& folder, std::vector<PictureFailure>& failures);

} // namespace ordimet::analyse

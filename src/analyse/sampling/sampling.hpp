#pragma once

// The sampled curves of an analysed algorithm, in doubles: the boundary locus
// of its region (m = 1) and the moduli of its roots against H^2 (m = 2). The
// pictures draw them and the JSON report carries the same numbers.

#include "analyse/model/method.hpp"

#include <cstddef>
#include <span>
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
    // rho's and sigma's coefficients as the nearest doubles; the same
    // without their common factor (for sigma = 0: 1 and 0), for the region
    // and its locus; and whether the fixed roots of that factor are allowed
    // in S (inside, or simple on the circle).
    std::vector<double> rho;
    std::vector<double> sigma;
    std::vector<double> region_rho;
    std::vector<double> region_sigma;
    bool fixed_roots_allowed = true;
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

// The range of H^2 sampled when the intervals have no finite end to scale
// it by.
inline constexpr double DEFAULT_H2_RANGE = 10.0;

// Fills the samples of one algorithm of a method for y^(m) = f.
void sample_algorithm(int m, const AlgorithmAnalysis& algorithm, AlgorithmSamples& samples);

// Whether both coordinates are finite (a NaN point separates two pieces).
bool is_finite(PlotPoint p);

// The parts of a sampled curve inside the window, pieces separated by NaN
// points. A segment with an end far outside the window (four times its
// size away) is dropped rather than clipped: it joins two samples on either
// side of a pole, and the straight line between them is no part of the
// curve.
void clip_curve(std::span<const PlotPoint> raw, const PlotWindow& w, std::vector<PlotPoint>& out);

} // namespace ordimet::analyse

#pragma once

// The sampled curves of an analysed algorithm, in doubles: the boundary locus
// of its region (m = 1); the moduli of its roots against H^2, the branches
// of its roots followed continuously as H^2 grows and the phase error of its
// principal root (m = 2). The pictures draw them and the JSON report
// carries the same numbers. Nothing here draws or prints.

#include "analyse/model/method.hpp"

#include <complex>
#include <cstddef>
#include <optional>
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
    // The window of the algorithm's main picture: the one given, or
    // m = 1: the z plane, square and symmetric about the real axis;
    // m = 2: H^2 on x from 0, the modulus of the roots on y from 0.
    PlotWindow window;
    // m = 1: the boundary locus z(theta) = rho(e^{i theta}) /
    // sigma(e^{i theta}) inside the window, theta from 0 to 2 pi; pieces are
    // separated where the locus goes to infinity or leaves the window.
    std::vector<PlotPoint> locus;
    // m = 2: the values of H^2 and, for each, the moduli of the `degree`
    // roots of rho + H^2 sigma in descending order (row after row): infinity
    // for a root at infinity (the degree drops there), NaN where the
    // polynomial vanishes or the roots were not found.
    std::vector<double> h2;
    std::size_t degree = 0;
    std::vector<double> moduli;
    // m = 2: the values of H^2 over the window's x range and, for each, the
    // `degree` roots of rho + H^2 sigma in the order of their branches (row
    // after row): each root is matched to the nearest one of the previous
    // value, never sorted; the branches are numbered by the roots at the
    // first value (descending modulus, then ascending |argument|, the upper
    // half-plane first). NaN for a root at infinity or not found.
    std::vector<double> branch_h2;
    std::vector<std::complex<double>> branches;
    // m = 2 with principal roots (the periodicity analysed): H from 0 to the
    // end of the interval of periodicity (PHASE_DEFAULT_RANGE when it has
    // none or no end) and theta(H) - H for the principal root e^{i theta(H)},
    // the one that leaves 1 with a positive argument (theta its argument,
    // followed continuously); the leading term c H^(q + 1) of the phase lag
    // at the same H, NaN when it is not known. Empty otherwise.
    std::vector<double> phase_h;
    std::vector<double> phase_error;
    std::vector<double> phase_reference;
};

// The range of H^2 sampled when the intervals have no finite end to scale
// it by.
inline constexpr double DEFAULT_H2_RANGE = 10.0;

// The range of H of the phase error when the interval of periodicity has no
// finite end: at H = pi a step covers half a period of the solution, and a
// phase beyond it no longer tells one oscillation from another.
inline constexpr double PHASE_DEFAULT_RANGE = 3.14159265358979323846;

// Fills the samples of one algorithm of a method for y^(m) = f; `window`,
// when given, is the window of its main picture (XMIN < XMAX, YMIN < YMAX).
void sample_algorithm(int m, const AlgorithmAnalysis& algorithm,
                      const std::optional<PlotWindow>& window, AlgorithmSamples& samples);

// The finite roots of the polynomial c (ascending powers; c is changed):
// trailing zero coefficients are roots at infinity, left out; roots at 0
// are included. False when c vanishes or the iteration found no finite
// roots, with `roots` then empty.
bool finite_roots(std::vector<double>& c, std::vector<std::complex<double>>& roots);

// Whether both coordinates are finite (a NaN point separates two pieces).
bool is_finite(PlotPoint p);

// The parts of a sampled curve inside the window, pieces separated by NaN
// points. A segment with an end far outside the window (four times its
// size away) is dropped rather than clipped: it joins two samples on either
// side of a pole, and the straight line between them is no part of the
// curve.
void clip_curve(std::span<const PlotPoint> raw, const PlotWindow& w, std::vector<PlotPoint>& out);

} // namespace ordimet::analyse

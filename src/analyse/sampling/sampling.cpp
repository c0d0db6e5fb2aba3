#include "analyse/sampling/sampling.hpp"

#include "analyse/exact/flint_handles.hpp"
#include "analyse/exact/numbers.hpp"
#include "analyse/roots/aberth.hpp"
#include "analyse/roots/roots.hpp"
#include "analyse/sampling/branches.hpp"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>

namespace ordimet::analyse {
namespace {

using Complex = std::complex<double>;

constexpr double PI = 3.14159265358979323846;
constexpr double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();
constexpr double INFINITE = std::numeric_limits<double>::infinity();

// Samples of the boundary locus over the whole circle: a quarter degree
// apart, fine enough for a smooth curve at the size drawn and small enough
// for the JSON report.
// A locus of high degree winds faster: 90 samples per degree above 16.
constexpr int LOCUS_SAMPLES = 1440;
constexpr int LOCUS_SAMPLES_PER_DEGREE = 90;
// The extent of the region picture: locus points farther out than this in
// either coordinate don't widen the window. Left to us: the bounded loci of
// the classical methods reach at most about 28 (BDF 6); 20 shows BDF 5
// whole and keeps the detail near the origin readable for the others. A
// locus with a pole (sigma vanishing on the circle, as for the trapezoidal
// rule) is unbounded, and any window cuts it: its extent counts only within
// POLE_EXTENT, where the part of S near the origin is.
constexpr double MAX_EXTENT = 20.0;
constexpr double POLE_EXTENT = 5.0;
// Values of H^2 sampled for the root moduli.
constexpr int MODULI_SAMPLES = 240;

// The index of the last non-zero coefficient of rho or sigma, or -1.
long generic_degree(const AlgorithmSamples& samples) {
    const std::size_t count = std::min(samples.rho.size(), samples.sigma.size());
    for (std::size_t j = count; j-- > 0;) {
        if (samples.rho[j] != 0.0 || samples.sigma[j] != 0.0) {
            return static_cast<long>(j);
        }
    }
    return -1;
}

std::vector<double> nearest_doubles(std::span<const Rational> values, std::size_t length) {
    std::vector<double> result(length, 0.0);
    for (std::size_t j = 0; j < values.size() && j < length; ++j) {
        result[j] = nearest_double(values[j]);
    }
    return result;
}

// rho and sigma without the factor common to them, as doubles, and whether
// the fixed roots (those of the factor; for sigma = 0 all of rho's) are
// allowed in the region: a root of the factor is a root for every z, lies
// on no boundary, and on the circle it would blur the picture's test of
// "strictly inside".
void region_pair(const AlgorithmAnalysis& algorithm, AlgorithmSamples& samples) {
    const std::size_t length = algorithm.rho.size();
    samples.region_rho = samples.rho;
    samples.region_sigma = samples.sigma;
    samples.fixed_roots_allowed = true;
    const bool sigma_zero = std::all_of(algorithm.sigma.begin(), algorithm.sigma.end(),
                                        [](const Rational& b) { return b.is_zero(); });
    std::vector<Rational> fixed = algorithm.common_factor;
    if (!algorithm.reducible && sigma_zero) {
        fixed = algorithm.rho;
        while (!fixed.empty() && fixed.back().is_zero()) {
            fixed.pop_back();
        }
    }
    if (!algorithm.reducible && (!sigma_zero || fixed.empty())) {
        return;
    }
    FmpqPoly factor;
    to_fmpq_poly(factor.get(), fixed);
    FmpqPoly quotient;
    for (const bool first : {true, false}) {
        FmpqPoly poly;
        to_fmpq_poly(poly.get(), first ? algorithm.rho : algorithm.sigma);
        fmpq_poly_div(quotient.get(), poly.get(), factor.get());
        std::vector<Rational> values(static_cast<std::size_t>(fmpq_poly_length(quotient.get())));
        for (std::size_t j = 0; j < values.size(); ++j) {
            fmpq_poly_get_coeff_fmpq(values[j].get(), quotient.get(), static_cast<long>(j));
        }
        (first ? samples.region_rho : samples.region_sigma) = nearest_doubles(values, length);
    }
    const int degree = static_cast<int>(fixed.size()) - 1;
    samples.fixed_roots_allowed = root_condition(degree, 1, fixed).zero_stable;
}

// Clips the segment p-q to the window (Liang-Barsky): false when no part
// of it is inside; otherwise p and q become the ends of the part inside,
// and `whole_end` tells whether q was kept as it was.
bool clip_segment(const PlotWindow& w, PlotPoint& p, PlotPoint& q, bool& whole_end) {
    double t0 = 0.0;
    double t1 = 1.0;
    const double dx = q.x - p.x;
    const double dy = q.y - p.y;
    const double directions[4] = {-dx, dx, -dy, dy};
    const double distances[4] = {p.x - w.x_min, w.x_max - p.x, p.y - w.y_min, w.y_max - p.y};
    for (int i = 0; i < 4; ++i) {
        if (directions[i] == 0.0) {
            if (distances[i] < 0.0) {
                return false;
            }
            continue;
        }
        const double t = distances[i] / directions[i];
        if (directions[i] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
    }
    if (t0 > t1) {
        return false;
    }
    whole_end = t1 == 1.0;
    const PlotPoint start{p.x + t0 * dx, p.y + t0 * dy};
    q = {p.x + t1 * dx, p.y + t1 * dy};
    p = start;
    return true;
}

// The boundary locus at every sample of theta, unclipped: infinite where
// sigma vanishes.
std::vector<PlotPoint> raw_locus(const AlgorithmSamples& samples) {
    const int steps = std::max(LOCUS_SAMPLES, LOCUS_SAMPLES_PER_DEGREE *
                                                  static_cast<int>(generic_degree(samples)));
    std::vector<PlotPoint> raw(static_cast<std::size_t>(steps) + 1);
    for (int i = 0; i <= steps; ++i) {
        const Complex zeta = std::polar(1.0, 2.0 * PI * i / steps);
        // Without the common factor, whose roots on the circle would make 0/0.
        const Complex below = evaluate(samples.region_sigma, zeta);
        const Complex z =
            below == 0.0 ? Complex(INFINITE, INFINITE) : evaluate(samples.region_rho, zeta) / below;
        raw[static_cast<std::size_t>(i)] = {z.real(), z.imag()};
    }
    return raw;
}

// The window of the region picture for the locus `raw`: the extent of the
// locus within MAX_EXTENT, the origin and the end of the real interval, with
// a margin; square, so that angles and circles look what they are, and
// symmetric about the real axis, as S is.
PlotWindow region_window(const AlgorithmAnalysis& algorithm, std::span<const PlotPoint> raw) {
    double x_min = 0.0;
    double x_max = 0.0;
    double y_extent = 0.0;
    // A pole between two samples shows as a point far out; a bounded locus
    // four times MAX_EXTENT away is taken for one too, and drawn the same.
    bool pole = false;
    for (const PlotPoint& p : raw) {
        pole = pole || !is_finite(p) || std::fabs(p.x) > 4.0 * MAX_EXTENT ||
               std::fabs(p.y) > 4.0 * MAX_EXTENT;
    }
    const double extent = pole ? POLE_EXTENT : MAX_EXTENT;
    for (const PlotPoint& p : raw) {
        if (is_finite(p) && std::fabs(p.x) <= extent && std::fabs(p.y) <= extent) {
            x_min = std::min(x_min, p.x);
            x_max = std::max(x_max, p.x);
            y_extent = std::max(y_extent, std::fabs(p.y));
        }
    }
    const IntervalEnd& end = algorithm.absolute.real_interval;
    if (algorithm.absolute.status == RegionStatus::DECIDED &&
        end.kind == IntervalEnd::Kind::FINITE) {
        x_min = std::min(x_min, -std::min(end.value, extent));
    }
    const double size = 1.1 * std::max({x_max - x_min, 2.0 * y_extent, 2.0});
    const double centre = (x_min + x_max) / 2.0;
    return {centre - size / 2.0, centre + size / 2.0, -size / 2.0, size / 2.0};
}

void sample_region(const AlgorithmAnalysis& algorithm, const std::optional<PlotWindow>& window,
                   AlgorithmSamples& samples) {
    const std::vector<PlotPoint> raw = raw_locus(samples);
    samples.window = window ? *window : region_window(algorithm, raw);
    clip_curve(raw, samples.window, samples.locus);
}

// The moduli of the roots of the polynomial c (ascending powers, of the
// generic degree `degree`), in descending order, into `row`: infinity for a
// root at infinity (a vanishing leading coefficient), 0 for a root at 0; the
// row stays NaN when the polynomial vanishes or the roots were not found.
void root_moduli(std::vector<double>& c, std::size_t degree, std::vector<Complex>& roots,
                 double* row) {
    if (!finite_roots(c, roots)) {
        return;
    }
    std::size_t count = 0;
    for (; count + roots.size() < degree; ++count) {
        row[count] = INFINITE;
    }
    for (const Complex& root : roots) {
        row[count++] = std::abs(root);
    }
    std::sort(row, row + count, [](double a, double b) { return a > b; });
}

void sample_moduli(const AlgorithmAnalysis& algorithm, AlgorithmSamples& samples) {
    const long degree = generic_degree(samples);
    samples.degree = degree > 0 ? static_cast<std::size_t>(degree) : 0;
    // The range: half as far again as the largest finite interval end, so
    // that the ends and what happens past them are in view.
    double largest = 0.0;
    if (algorithm.periodicity.status == RegionStatus::DECIDED) {
        for (const IntervalEnd* end :
             {&algorithm.periodicity.periodicity, &algorithm.periodicity.absolute}) {
            if (end->kind == IntervalEnd::Kind::FINITE) {
                largest = std::max(largest, end->value);
            }
        }
    }
    const double range = largest > 0.0 ? 1.5 * largest : DEFAULT_H2_RANGE;
    samples.h2.resize(MODULI_SAMPLES + 1);
    samples.moduli.assign(samples.h2.size() * samples.degree, NOT_A_NUMBER);
    std::vector<double> c;
    std::vector<Complex> roots;
    for (std::size_t i = 0; i < samples.h2.size(); ++i) {
        const double h2 = range * static_cast<double>(i) / MODULI_SAMPLES;
        samples.h2[i] = h2;
        pencil_at(samples, h2, c);
        root_moduli(c, samples.degree, roots, samples.moduli.data() + i * samples.degree);
    }
}

// The window of the branches picture when none is given: H^2 over the range
// of the root moduli, the modulus from 0 to a little above the largest
// sampled, at least 1.5 and at most 3 (a root far outside the circle is off
// the top).
PlotWindow moduli_window(const AlgorithmSamples& samples) {
    double largest = 0.0;
    for (const double value : samples.moduli) {
        if (std::isfinite(value)) {
            largest = std::max(largest, value);
        }
    }
    const double top = std::min(3.0, std::max(1.5, std::ceil(largest * 1.1 * 2.0) / 2.0));
    const double right = samples.h2.empty() ? DEFAULT_H2_RANGE : samples.h2.back();
    return {0.0, right, 0.0, top};
}

} // namespace

bool is_finite(PlotPoint p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// The parts of a sampled curve inside the window, pieces separated by NaN
// points. A segment with an end far outside the window (four times its
// size away) is dropped rather than clipped: it joins two samples on either
// side of a pole, and the straight line between them is no part of the
// curve.
void clip_curve(std::span<const PlotPoint> raw, const PlotWindow& w, std::vector<PlotPoint>& out) {
    const double width = w.x_max - w.x_min;
    const double height = w.y_max - w.y_min;
    const PlotWindow far{w.x_min - 4.0 * width, w.x_max + 4.0 * width, w.y_min - 4.0 * height,
                         w.y_max + 4.0 * height};
    const auto near = [&](PlotPoint p) {
        return is_finite(p) && p.x >= far.x_min && p.x <= far.x_max && p.y >= far.y_min &&
               p.y <= far.y_max;
    };
    out.clear();
    bool connected = false;
    for (std::size_t i = 1; i < raw.size(); ++i) {
        PlotPoint p = raw[i - 1];
        PlotPoint q = raw[i];
        bool whole_end = false;
        if (!near(p) || !near(q) || !clip_segment(w, p, q, whole_end)) {
            connected = false;
            continue;
        }
        if (!connected) {
            if (!out.empty()) {
                out.push_back({NOT_A_NUMBER, NOT_A_NUMBER});
            }
            out.push_back(p);
        }
        out.push_back(q);
        connected = whole_end;
    }
}

bool finite_roots(std::vector<double>& c, std::vector<Complex>& roots) {
    roots.clear();
    while (!c.empty() && c.back() == 0.0) {
        c.pop_back();
    }
    if (c.empty()) {
        return false; // the polynomial vanishes identically
    }
    // Roots at 0 are counted apart: the iteration needs c[0] != 0.
    std::size_t zero = 0;
    while (c[zero] == 0.0) {
        ++zero;
    }
    if (c.size() - zero >= 2) {
        aberth_roots(std::span<const double>(c).subspan(zero), roots);
        // An iteration that failed with a step that is not finite leaves
        // nothing to draw.
        const bool found = std::all_of(roots.begin(), roots.end(), [](Complex root) {
            return std::isfinite(root.real()) && std::isfinite(root.imag());
        });
        if (!found) {
            roots.clear();
            return false;
        }
    }
    roots.insert(roots.end(), zero, Complex(0.0, 0.0));
    return true;
}

void sample_algorithm(int m, const AlgorithmAnalysis& algorithm,
                      const std::optional<PlotWindow>& window, AlgorithmSamples& samples) {
    samples.rho = nearest_doubles(algorithm.rho, algorithm.rho.size());
    samples.sigma = nearest_doubles(algorithm.sigma, algorithm.rho.size());
    region_pair(algorithm, samples);
    samples.locus.clear();
    samples.h2.clear();
    samples.moduli.clear();
    samples.branch_h2.clear();
    samples.branches.clear();
    samples.phase_h.clear();
    samples.phase_error.clear();
    samples.phase_reference.clear();
    samples.degree = 0;
    samples.window = {};
    if (m == 1) {
        sample_region(algorithm, window, samples);
    } else if (m == 2) {
        sample_moduli(algorithm, samples);
        samples.window = window ? *window : moduli_window(samples);
        sample_branches(samples);
        sample_phase(algorithm, samples);
    }
}

} // namespace ordimet::analyse

// Linear stability estimated in doubles: roots by the Aberth iteration of
// the analyses, the boundary locus by Horner's rule on the unit circle.

#include "design/search/estimates.hpp"

#include "analyse/exact/numbers.hpp"
#include "analyse/roots/aberth.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace ordimet::design {
namespace {

constexpr double INFINITE = std::numeric_limits<double>::infinity();

// Samples of the locus over theta in [0, pi]; bisection and golden-section
// steps that refine a crossing or an angle found between two samples.
constexpr int LOCUS_SAMPLES = 256;
constexpr int REFINEMENTS = 30;

// Whether the roots in `work.roots` were found for a polynomial set in
// `work.poly`: the roots of its trimmed part (no zero root, no zero top).
bool find_roots(RootsWorkspace& work) {
    std::span<const double> c = work.poly;
    std::size_t low = 0;
    while (low < c.size() && c[low] == 0.0) {
        ++low;
    }
    std::size_t high = c.size();
    while (high > low && c[high - 1] == 0.0) {
        --high;
    }
    work.roots.clear();
    if (high - low <= 1) {
        return high > low; // a non-zero constant: no root
    }
    const bool settled = analyse::aberth_roots(c.subspan(low, high - low), work.roots);
    // The iterates of a multiple root are close to it even unsettled.
    return settled || std::all_of(work.roots.begin(), work.roots.end(), [](Complex z) {
               return std::isfinite(z.real()) && std::isfinite(z.imag());
           });
}

double largest(const RootsWorkspace& work) {
    double result = 0.0;
    for (const Complex z : work.roots) {
        result = std::max(result, std::abs(z));
    }
    return result;
}

void combine(std::span<const double> rho, std::span<const double> sigma, double x,
             std::vector<double>& out) {
    out.resize(rho.size());
    for (std::size_t j = 0; j < rho.size(); ++j) {
        out[j] = rho[j] + x * sigma[j];
    }
}

// The point of the locus at theta: rho conj(sigma) and |sigma|^2, so that
// z = w / |sigma|^2 without a division by a vanishing sigma.
struct LocusPoint {
    Complex w;
    double sigma2 = 0.0;
};

LocusPoint locus_at(std::span<const double> rho, std::span<const double> sigma, double theta) {
    const Complex zeta = std::polar(1.0, theta);
    const Complex s = analyse::evaluate(sigma, zeta);
    return {analyse::evaluate(rho, zeta) * std::conj(s), std::norm(s)};
}

// A point of the locus where it is finite: |sigma|^2 not negligible.
bool finite_point(const LocusPoint& p) {
    return p.sigma2 > 1e-24 * std::max(1.0, std::abs(p.w));
}

// The x > 0 where the locus crosses the negative real axis, between
// samples by bisection, and at theta = pi.
void crossings(std::span<const double> rho, std::span<const double> sigma,
               const std::vector<LocusPoint>& samples, std::vector<double>& out) {
    const double step = std::numbers::pi / LOCUS_SAMPLES;
    for (int i = 1; i + 1 < LOCUS_SAMPLES; ++i) {
        const double a = samples[static_cast<std::size_t>(i)].w.imag();
        const double b = samples[static_cast<std::size_t>(i) + 1].w.imag();
        if ((a < 0.0) == (b < 0.0) && a != 0.0) {
            continue;
        }
        double low = i * step;
        double high = low + step;
        for (int r = 0; r < REFINEMENTS; ++r) {
            const double middle = 0.5 * (low + high);
            ((locus_at(rho, sigma, middle).w.imag() < 0.0) == (a < 0.0) ? low : high) = middle;
        }
        const LocusPoint p = locus_at(rho, sigma, 0.5 * (low + high));
        if (finite_point(p) && p.w.real() < 0.0) {
            out.push_back(-p.w.real() / p.sigma2);
        }
    }
    // zeta = -1: the alternating sums, real.
    double r = 0.0;
    double s = 0.0;
    for (std::size_t j = rho.size(); j-- > 0;) {
        r = -r + rho[j];
        s = -s + sigma[j];
    }
    if (s != 0.0 && r / s < 0.0) {
        out.push_back(-r / s);
    }
}

} // namespace

double largest_modulus(std::span<const double> poly, RootsWorkspace& work) {
    work.poly.assign(poly.begin(), poly.end());
    return find_roots(work) ? largest(work) : INFINITE;
}

double largest_modulus_at(std::span<const double> rho, std::span<const double> sigma, double x,
                          RootsWorkspace& work) {
    combine(rho, sigma, x, work.poly);
    return find_roots(work) ? largest(work) : INFINITE;
}

double largest_modulus_at(std::span<const double> rho, std::span<const double> sigma, Complex z,
                          RootsWorkspace& work) {
    // rho^2 - 2 Re(z) rho sigma + |z|^2 sigma^2.
    const std::size_t n = rho.size();
    work.product.assign(2 * n - 1, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            work.product[i + j] += rho[i] * rho[j] - 2.0 * z.real() * rho[i] * sigma[j] +
                                   std::norm(z) * sigma[i] * sigma[j];
        }
    }
    work.poly = work.product;
    return find_roots(work) ? largest(work) : INFINITE;
}

namespace {

// The angle |arg(-z)| in degrees of a locus point in the open left
// half-plane; 90 elsewhere (a point on the imaginary axis, within
// rounding, is not in the left half-plane).
double wedge_angle(const LocusPoint& p) {
    if (!finite_point(p) || p.w.real() >= -1e-12 * std::abs(p.w)) {
        return 90.0;
    }
    return std::atan2(std::abs(p.w.imag()), -p.w.real()) * 180.0 / std::numbers::pi;
}

// The least angle over the samples, refined by golden-section search
// between the neighbours of the least sample; `where` gets its theta.
double least_angle(std::span<const double> rho, std::span<const double> sigma,
                   const std::vector<LocusPoint>& samples, double& where) {
    const double step = std::numbers::pi / LOCUS_SAMPLES;
    std::size_t best = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        if (wedge_angle(samples[i]) < wedge_angle(samples[best])) {
            best = i;
        }
    }
    where = static_cast<double>(best) * step;
    double angle = wedge_angle(samples[best]);
    if (angle >= 90.0) {
        return 90.0;
    }
    const double golden = 0.5 * (std::sqrt(5.0) - 1.0);
    double low = std::max(0.0, where - step);
    double high = std::min(std::numbers::pi, where + step);
    for (int r = 0; r < REFINEMENTS; ++r) {
        const double a = high - golden * (high - low);
        const double b = low + golden * (high - low);
        const double fa = wedge_angle(locus_at(rho, sigma, a));
        const double fb = wedge_angle(locus_at(rho, sigma, b));
        (fa < fb ? high : low) = fa < fb ? b : a;
        if (std::min(fa, fb) < angle) {
            angle = std::min(fa, fb);
            where = fa < fb ? a : b;
        }
    }
    return angle;
}

// A point past x0 on the negative real axis where a root is clearly
// outside, or 0.
double real_suspect(std::span<const double> rho, std::span<const double> sigma, double x0,
                    RootsWorkspace& work) {
    for (const double factor : {1.01, 1.1, 2.0, 16.0}) {
        if (largest_modulus_at(rho, sigma, x0 * factor, work) > 1.0 + CLEARLY_OUTSIDE) {
            return x0 * factor;
        }
    }
    return 0.0;
}

// Where the roots leave the disk below `start`, where they are out: a
// crossing close to 0 that the samples of the locus passed over (near a
// root of rho on the circle the locus runs through 0). Down by factors of
// 4 to where they are in, then bisection; 0 when they are out down to
// 10^-12.
double end_near_zero(std::span<const double> rho, std::span<const double> sigma, double start,
                     RootsWorkspace& work) {
    double high = start;
    double low = start / 4.0;
    while (largest_modulus_at(rho, sigma, low, work) > 1.0 + 1e-9) {
        if (low < 1e-12) {
            return 0.0;
        }
        high = low;
        low /= 4.0;
    }
    for (int r = 0; r < 12; ++r) {
        const double middle = 0.5 * (low + high);
        (largest_modulus_at(rho, sigma, middle, work) > 1.0 + 1e-9 ? high : low) = middle;
    }
    return 0.5 * (low + high);
}

// The real interval's end: the least crossing (or the degree's drop) past
// which the roots leave the disk; 0 when they are out already just right
// of 0.
double real_end(std::span<const double> rho, std::span<const double> sigma,
                std::vector<double>& ends, RootsWorkspace& work, double& suspect) {
    const std::size_t k = rho.size() - 1;
    if (sigma[k] != 0.0 && -rho[k] / sigma[k] > 0.0) {
        ends.push_back(-rho[k] / sigma[k]);
    }
    std::sort(ends.begin(), ends.end());
    const double start = 1e-3 * std::min(1.0, ends.empty() ? 1.0 : ends.front());
    if (largest_modulus_at(rho, sigma, start, work) > 1.0 + 1e-9) {
        suspect = real_suspect(rho, sigma, start / 1.01, work);
        return end_near_zero(rho, sigma, start, work);
    }
    for (const double x0 : ends) {
        // A crossing where the roots stay in the disk is a point where the
        // locus touches the axis from outside the region.
        if (x0 > 0.0 && largest_modulus_at(rho, sigma, x0 * 1.01, work) > 1.0 + 1e-9) {
            suspect = real_suspect(rho, sigma, x0, work);
            return x0;
        }
    }
    return INFINITE;
}

// A point of the left half-plane near the locus point at theta where a
// root is clearly outside, or none.
bool complex_suspect(std::span<const double> rho, std::span<const double> sigma, double theta,
                     RootsWorkspace& work, Complex& out) {
    const LocusPoint p = locus_at(rho, sigma, theta);
    const Complex z0 = p.w / p.sigma2;
    const double diagonal = std::numbers::sqrt2 / 2.0;
    const Complex directions[] = {{1.0, 0.0},
                                  {-1.0, 0.0},
                                  {0.0, 1.0},
                                  {0.0, -1.0},
                                  {diagonal, diagonal},
                                  {diagonal, -diagonal},
                                  {-diagonal, diagonal},
                                  {-diagonal, -diagonal}};
    for (const double size : {0.05, 0.2}) {
        for (const Complex u : directions) {
            const Complex z = z0 + size * std::abs(z0) * u;
            if (z.real() < 0.0 && largest_modulus_at(rho, sigma, z, work) > 1.0 + CLEARLY_OUTSIDE) {
                out = z;
                return true;
            }
        }
    }
    return false;
}

} // namespace

LocusEstimate estimate_locus(std::span<const double> rho, std::span<const double> sigma,
                             bool want_suspects, RootsWorkspace& work) {
    std::vector<LocusPoint> samples(LOCUS_SAMPLES + 1);
    for (int i = 0; i <= LOCUS_SAMPLES; ++i) {
        samples[static_cast<std::size_t>(i)] =
            locus_at(rho, sigma, std::numbers::pi * i / LOCUS_SAMPLES);
    }
    std::vector<double> ends;
    crossings(rho, sigma, samples, ends);
    LocusEstimate result;
    double suspect = 0.0;
    result.real_end = real_end(rho, sigma, ends, work, suspect);
    if (suspect > 0.0) {
        result.suspects.emplace_back(-suspect, 0.0);
    }
    double where = 0.0;
    const double angle = least_angle(rho, sigma, samples, where);
    result.alpha = result.real_end < INFINITE ? 0.0 : angle;
    result.a_stable = result.real_end == INFINITE && angle >= 90.0;
    Complex z;
    if (want_suspects && angle < 90.0 && complex_suspect(rho, sigma, where, work, z)) {
        result.suspects.push_back(z);
    }
    return result;
}

IntervalEstimate estimate_interval(std::span<const double> rho, std::span<const double> sigma,
                                   IntervalKind kind, bool precise, RootsWorkspace& work) {
    // Where the disk's property fails: a root clearly outside. A root
    // reaching the circle from inside can't be told in doubles near x = 0,
    // where the principal roots stay within rounding of it; whether the
    // roots are inside is looked at within the interval below.
    const auto holds = [&](double x) {
        return largest_modulus_at(rho, sigma, x, work) <= 1.0 + 1e-9;
    };
    // Two samples an octave and bisection for the end itself; one an
    // octave where only whether it is finite counts.
    const int per_octave = precise ? 2 : 1;
    IntervalEstimate result;
    result.end = INFINITE;
    for (int j = -10 * per_octave; j <= 20 * per_octave; ++j) {
        const double x = std::exp2(static_cast<double>(j) / per_octave);
        if (holds(x)) {
            continue;
        }
        double low =
            j == -10 * per_octave ? 0.0 : std::exp2(static_cast<double>(j - 1) / per_octave);
        double high = x;
        for (int r = 0; r < 12 && low > 0.0 && precise; ++r) {
            const double middle = 0.5 * (low + high);
            (holds(middle) ? low : high) = middle;
        }
        result.end = low == 0.0 ? 0.0 : 0.5 * (low + high);
        result.suspect = real_suspect(rho, sigma, high / 1.01, work);
        break;
    }
    if (result.end > 0.0) {
        // Within the interval: periodicity needs two roots on the circle
        // (the principal ones), absolute stability every root clearly
        // inside it.
        combine(rho, sigma, result.end == INFINITE ? 1.0 : 0.5 * result.end, work.poly);
        const bool found = find_roots(work);
        const auto on_circle = std::count_if(work.roots.begin(), work.roots.end(), [](Complex z) {
            return std::abs(std::abs(z) - 1.0) < 1e-10;
        });
        const bool inside =
            kind == IntervalKind::PERIODICITY ? on_circle >= 2 : largest(work) < 1.0 - 1e-12;
        result.end = found && inside ? result.end : 0.0;
    }
    return result;
}

} // namespace ordimet::design

#include "analyse/sampling/branches.hpp"

#include "analyse/exact/numbers.hpp"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <span>

namespace ordimet::analyse {
namespace {

using Complex = std::complex<double>;

constexpr double PI = 3.14159265358979323846;
constexpr double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();
const Complex NO_ROOT{NOT_A_NUMBER, NOT_A_NUMBER};

// Values of H^2 sampled for the branches, and of H for the phase error.
// Left to us: at 400 values over the window a simple root moves by a small
// part of its distance to the others from one value to the next, so that
// the nearest root is its own; only where two roots meet is the choice
// arbitrary, and there both continuations are continuous.
constexpr int BRANCH_SAMPLES = 400;
constexpr int PHASE_SAMPLES = 240;

// Moduli, arguments and imaginary parts closer than this (relatively) count
// as equal when the branches are numbered, so that rounding doesn't decide.
constexpr double SAME = 1e-9;

bool is_root(Complex z) {
    return std::isfinite(z.real()) && std::isfinite(z.imag());
}

// |arg z|, 0 or pi for a root that is real up to rounding.
double absolute_argument(Complex z) {
    if (std::fabs(z.imag()) <= SAME * std::abs(z)) {
        return z.real() < 0.0 ? PI : 0.0;
    }
    return std::fabs(std::arg(z));
}

// The order in which branches are numbered by their first roots:
// descending modulus, then ascending |argument|, the upper half-plane first.
bool numbered_before(Complex a, Complex b) {
    const double ma = std::abs(a);
    const double mb = std::abs(b);
    if (std::fabs(ma - mb) > SAME * std::max({1.0, ma, mb})) {
        return ma > mb;
    }
    const double aa = absolute_argument(a);
    const double ab = absolute_argument(b);
    if (std::fabs(aa - ab) > SAME) {
        return aa < ab;
    }
    return a.imag() > b.imag();
}

struct Pair {
    double distance = 0.0;
    std::size_t branch = 0;
    std::size_t root = 0;
};

// Gives each branch one of the roots `found` at the next value into `row`:
// the closest pairs of a branch's last root and a root found first, so that
// each root goes to the branch it is nearest to; roots left over (coming
// back from infinity, or the first value) go to the branches left, in
// branch order; branches left over get NO_ROOT.
void match_roots(std::span<const Complex> last, std::span<const Complex> found,
                 std::span<Complex> row) {
    std::vector<Pair> pairs;
    for (std::size_t b = 0; b < last.size(); ++b) {
        for (std::size_t r = 0; is_root(last[b]) && r < found.size(); ++r) {
            pairs.push_back({std::abs(found[r] - last[b]), b, r});
        }
    }
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const Pair& p, const Pair& q) { return p.distance < q.distance; });
    std::vector<bool> root_taken(found.size(), false);
    std::vector<bool> branch_taken(row.size(), false);
    std::fill(row.begin(), row.end(), NO_ROOT);
    for (const Pair& pair : pairs) {
        if (!branch_taken[pair.branch] && !root_taken[pair.root]) {
            row[pair.branch] = found[pair.root];
            branch_taken[pair.branch] = true;
            root_taken[pair.root] = true;
        }
    }
    std::size_t r = 0;
    for (std::size_t b = 0; b < row.size(); ++b) {
        while (r < found.size() && root_taken[r]) {
            ++r;
        }
        if (!branch_taken[b] && r < found.size()) {
            row[b] = found[r];
            root_taken[r] = true;
        }
    }
}

} // namespace

void pencil_at(const AlgorithmSamples& samples, double h2, std::vector<double>& c) {
    c.clear();
    for (std::size_t j = 0; j < samples.degree + 1; ++j) {
        c.push_back(samples.rho[j] + h2 * samples.sigma[j]);
    }
}

void sample_branches(AlgorithmSamples& samples) {
    const std::size_t n = samples.degree;
    if (n == 0) {
        return;
    }
    const double low = samples.window.x_min;
    const double high = samples.window.x_max;
    samples.branch_h2.resize(BRANCH_SAMPLES + 1);
    samples.branches.assign(samples.branch_h2.size() * n, NO_ROOT);
    std::vector<double> c;
    std::vector<Complex> found;
    // Each branch's last root found: a value where the roots were not found
    // (or one went to infinity) doesn't lose the branches' identities.
    std::vector<Complex> last(n, NO_ROOT);
    for (std::size_t i = 0; i < samples.branch_h2.size(); ++i) {
        const double h2 = low + (high - low) * static_cast<double>(i) / BRANCH_SAMPLES;
        samples.branch_h2[i] = h2;
        pencil_at(samples, h2, c);
        finite_roots(c, found);
        std::sort(found.begin(), found.end(), numbered_before);
        const std::span<Complex> row = std::span(samples.branches).subspan(i * n, n);
        match_roots(last, found, row);
        for (std::size_t b = 0; b < n; ++b) {
            last[b] = is_root(row[b]) ? row[b] : last[b];
        }
    }
}

void sample_phase(const AlgorithmAnalysis& algorithm, AlgorithmSamples& samples) {
    const Periodicity& p = algorithm.periodicity;
    if (p.status != RegionStatus::DECIDED || samples.degree < 2) {
        return;
    }
    const double range = p.periodicity.kind == IntervalEnd::Kind::FINITE
                             ? std::sqrt(p.periodicity.value)
                             : PHASE_DEFAULT_RANGE;
    const double constant = p.phase_lag_known ? nearest_double(p.phase_lag_constant) : NOT_A_NUMBER;
    samples.phase_h.assign(PHASE_SAMPLES + 1, 0.0);
    samples.phase_error.assign(PHASE_SAMPLES + 1, NOT_A_NUMBER);
    samples.phase_reference.assign(PHASE_SAMPLES + 1, NOT_A_NUMBER);
    std::vector<double> c;
    std::vector<Complex> found;
    // The principal root, its argument followed continuously, and the H it
    // was found at; at H = 0 it is 1.
    Complex root(1.0, 0.0);
    double theta = 0.0;
    double last_h = 0.0;
    for (std::size_t i = 0; i <= PHASE_SAMPLES; ++i) {
        const double h = range * static_cast<double>(i) / PHASE_SAMPLES;
        samples.phase_h[i] = h;
        samples.phase_reference[i] = constant * std::pow(h, p.phase_lag_order + 1);
        if (i == 0) {
            samples.phase_error[0] = 0.0;
            continue;
        }
        pencil_at(samples, h * h, c);
        if (!finite_roots(c, found) || found.empty()) {
            continue; // not found at this H: the error stays NaN
        }
        // It moves as e^{iH} does: the root nearest to that prediction.
        const Complex predicted = root * std::polar(1.0, h - last_h);
        const Complex next =
            *std::min_element(found.begin(), found.end(), [&](Complex a, Complex b) {
                return std::abs(a - predicted) < std::abs(b - predicted);
            });
        if (next == 0.0) {
            continue;
        }
        theta += std::arg(next / root);
        root = next;
        last_h = h;
        samples.phase_error[i] = theta - h;
    }
}

} // namespace ordimet::analyse

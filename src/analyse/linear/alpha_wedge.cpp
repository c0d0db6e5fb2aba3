// Absolute stability on y' = lambda y: the real stability interval from the
// scan over x = -z > 0, and the A(alpha) angle, the smallest |arg(-z)| over
// the points of the boundary locus z(theta) = rho(e^{i theta}) /
// sigma(e^{i theta}) in the open left half-plane: every locus point is a
// limit of points outside S (the root on the circle moves off it to both
// sides), and a wedge free of the locus that holds the negative real axis
// lies wholly in S. The parts of the circle whose locus lies in the left
// half-plane are found exactly (the sign changes of Re(rho conj(sigma)), a
// polynomial in cos theta); the angle is estimated there in doubles and then
// made certain by an exact test of the wedge.

#include "analyse/exact/numbers.hpp"
#include "analyse/linear/linear_stability.hpp"
#include "analyse/linear/region_scan.hpp"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <numbers>
#include <string>

namespace ordimet::analyse {

namespace {

using Complex = std::complex<double>;

// |arg(-z(theta))| in degrees where Re z(theta) < 0, from
// -rho conj(sigma), which has z's argument and no pole.
double wedge_angle(std::span<const double> rho, std::span<const double> sigma, double theta) {
    const Complex zeta = std::polar(1.0, theta);
    const Complex u = -evaluate(rho, zeta) * std::conj(evaluate(sigma, zeta));
    return std::atan2(std::abs(u.imag()), u.real()) * 180.0 / std::numbers::pi;
}

// The least angle over theta in (low, high), where the locus is in the
// left half-plane: a scan of the interval, then a golden-section search
// around each local least of the scan.
double least_angle(std::span<const double> rho, std::span<const double> sigma, double low,
                   double high) {
    constexpr int SAMPLES = 256;
    std::vector<double> values(SAMPLES + 1);
    const double width = (high - low) / SAMPLES;
    for (int i = 0; i <= SAMPLES; ++i) {
        // The ends themselves are on the imaginary axis or at a pole.
        const double theta = i == 0         ? low + width * 1e-6
                             : i == SAMPLES ? high - width * 1e-6
                                            : low + width * i;
        values[static_cast<std::size_t>(i)] = wedge_angle(rho, sigma, theta);
    }
    double best = 90.0;
    for (int i = 0; i <= SAMPLES; ++i) {
        const double here = values[static_cast<std::size_t>(i)];
        const bool least = (i == 0 || here <= values[static_cast<std::size_t>(i - 1)]) &&
                           (i == SAMPLES || here <= values[static_cast<std::size_t>(i + 1)]);
        if (!least) {
            continue;
        }
        double a = std::max(low, low + width * (i - 1));
        double b = std::min(high, low + width * (i + 1));
        const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
        double c = b - ratio * (b - a);
        double d = a + ratio * (b - a);
        double fc = wedge_angle(rho, sigma, c);
        double fd = wedge_angle(rho, sigma, d);
        for (int step = 0; step < 80 && b - a > 1e-15; ++step) {
            if (fc <= fd) {
                b = d;
                d = c;
                fd = fc;
                c = b - ratio * (b - a);
                fc = wedge_angle(rho, sigma, c);
            } else {
                a = c;
                c = d;
                fc = fd;
                d = a + ratio * (b - a);
                fd = wedge_angle(rho, sigma, d);
            }
        }
        best = std::min({best, here, fc, fd});
    }
    return best;
}

// With w(theta) = rho(e^{i theta}) conj(sigma(e^{i theta})), which has the
// argument of z(theta): 2 Re w and 2 Im w / sin(theta) as polynomials in
// c = cos theta. With a the coefficients of rho(z) z^k sigma(1/z), so that
// w = sum a_j e^{i (j - k) theta}: Re w = a_k + sum (a_{k+l} + a_{k-l})
// cos(l theta) and Im w = sum (a_{k+l} - a_{k-l}) sin(l theta), with
// cos(l theta) = T_l(c) and sin(l theta) = sin(theta) U_{l-1}(c).
void locus_in_cosine(const IntegerPair& pair, fmpz_poly_struct* real, fmpz_poly_struct* imaginary) {
    const slong k = pair.length - 1;
    FmpzPoly sigma_reverse;
    fmpz_poly_reverse(sigma_reverse.get(), pair.sigma.get(), pair.length);
    FmpzPoly a;
    fmpz_poly_mul(a.get(), pair.rho.get(), sigma_reverse.get());
    fmpz_poly_zero(real);
    fmpz_poly_zero(imaginary);
    Fmpz up;
    Fmpz down;
    Fmpz coefficient;
    FmpzPoly chebyshev;
    for (slong l = 0; l <= k; ++l) {
        fmpz_poly_get_coeff_fmpz(up.get(), a.get(), k + l);
        fmpz_poly_get_coeff_fmpz(down.get(), a.get(), k - l);
        // 2 a_k for l = 0, 2 (a_{k+l} + a_{k-l}) after.
        fmpz_add(coefficient.get(), up.get(), down.get());
        if (l > 0) {
            fmpz_mul_si(coefficient.get(), coefficient.get(), 2);
        }
        fmpz_poly_chebyshev_t(chebyshev.get(), static_cast<ulong>(l));
        fmpz_poly_scalar_mul_fmpz(chebyshev.get(), chebyshev.get(), coefficient.get());
        fmpz_poly_add(real, real, chebyshev.get());
        if (l > 0) {
            fmpz_sub(coefficient.get(), up.get(), down.get());
            fmpz_mul_si(coefficient.get(), coefficient.get(), 2);
            fmpz_poly_chebyshev_u(chebyshev.get(), static_cast<ulong>(l - 1));
            fmpz_poly_scalar_mul_fmpz(chebyshev.get(), chebyshev.get(), coefficient.get());
            fmpz_poly_add(imaginary, imaginary, chebyshev.get());
        }
    }
}

// Whether the locus has a point in the open left half-plane with
// |arg(-z)| < atan(t): some c in [-1, 1] with Q(c) < 0 and
// (1 - c^2) V(c)^2 < t^2 Q(c)^2, Q = 2 Re w and V = 2 Im w / sin(theta).
// Decided exactly: the set is open in (-1, 1), so it holds a point between
// two roots of Q D, D = (1 - c^2) V^2 - t^2 Q^2, if it is not empty; at
// c = +-1 (theta = 0 or pi) the locus is on the real axis.
bool locus_inside_wedge(const fmpz_poly_struct* q, const fmpz_poly_struct* v, const Rational& t) {
    if (sign_at(q, Rational(1, 1)) < 0 || sign_at(q, Rational(-1, 1)) < 0) {
        return true;
    }
    // D times the square of t's denominator, in integers.
    FmpzPoly d;
    FmpzPoly term;
    fmpz_poly_sqr(d.get(), v);
    FmpzPoly one_minus_square;
    fmpz_poly_set_coeff_si(one_minus_square.get(), 0, 1);
    fmpz_poly_set_coeff_si(one_minus_square.get(), 2, -1);
    fmpz_poly_mul(d.get(), d.get(), one_minus_square.get());
    Fmpz square;
    fmpz_mul(square.get(), fmpq_denref(t.get()), fmpq_denref(t.get()));
    fmpz_poly_scalar_mul_fmpz(d.get(), d.get(), square.get());
    fmpz_poly_sqr(term.get(), q);
    fmpz_mul(square.get(), fmpq_numref(t.get()), fmpq_numref(t.get()));
    fmpz_poly_scalar_mul_fmpz(term.get(), term.get(), square.get());
    fmpz_poly_sub(d.get(), d.get(), term.get());
    if (fmpz_poly_is_zero(d.get())) {
        return false; // the locus lies on the rays themselves
    }
    FmpzPoly product;
    fmpz_poly_mul(product.get(), q, d.get());
    std::deque<FmpzPoly> parts;
    std::vector<RealRoot> roots;
    roots_in_open_unit(product.get(), false, parts, roots);
    for (const Rational& c : samples_between(roots)) {
        if (sign_at(q, c) < 0 && sign_at(d.get(), c) < 0) {
            return true;
        }
    }
    return false;
}

// The A(alpha) angle in degrees, from an estimate (the least angle found by
// sampling the locus) made certain: alpha lies between two angles where
// the exact test above says "no locus point inside" and "some", and these
// are made closer by bisection until both print alike with 2 decimals. An
// estimate too high (a dip of the locus the sampling missed) only costs
// more bisection.
double certified_angle(const fmpz_poly_struct* q, const fmpz_poly_struct* v, double estimate) {
    const auto inside = [&](double degrees) {
        return locus_inside_wedge(q, v,
                                  exact_rational(std::tan(degrees * std::numbers::pi / 180.0)));
    };
    if (inside(0.0)) {
        return 0.0; // a locus point on the negative real axis
    }
    constexpr double SLACK = 1e-6;
    constexpr double HIGHEST = 90.0 - 1e-9;
    double low = std::max(0.0, estimate - SLACK);
    double high = std::min(HIGHEST, estimate + SLACK);
    if (inside(low)) {
        high = low;
        low = 0.0;
    } else if (!inside(high)) {
        low = high;
        high = HIGHEST;
        if (!inside(high)) {
            return 90.0;
        }
    }
    const auto printed = [](double degrees) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", degrees);
        return std::string(text);
    };
    for (int step = 0; step < 80 && printed(low) != printed(high); ++step) {
        const double middle = low + (high - low) / 2;
        (inside(middle) ? high : low) = middle;
    }
    return low + (high - low) / 2;
}

// The intervals of c = cos theta in (-1, 1) where the polynomial e is
// negative, as pairs of doubles, each reaching over the narrow intervals of
// the sign changes beside it.
void negative_intervals(const fmpz_poly_struct* e, std::vector<std::pair<double, double>>& result) {
    result.clear();
    if (fmpz_poly_is_zero(e)) {
        return;
    }
    // The sign changes: roots of odd multiplicity strictly inside (-1, 1).
    std::deque<FmpzPoly> parts;
    std::vector<RealRoot> roots;
    roots_in_open_unit(e, true, parts, roots);
    const std::vector<Rational> samples = samples_between(roots);
    const Rational minus_one(-1, 1);
    const Rational plus_one(1, 1);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        // An even-multiplicity root at the sample would read 0: the sign
        // is that of the piece's other points, found nearer its upper end.
        Rational point = samples[i];
        const Rational& upper = i < roots.size() ? roots[i].lower : plus_one;
        for (int tries = 0; tries < 64 && sign_at(e, point) == 0; ++tries) {
            point = weighted(point, 1, upper, 1);
        }
        if (sign_at(e, point) < 0) {
            const Rational& outer_low = i == 0 ? minus_one : roots[i - 1].lower;
            const Rational& outer_high = i < roots.size() ? roots[i].upper : plus_one;
            result.emplace_back(nearest_double(outer_low), nearest_double(outer_high));
        }
    }
}

} // namespace

AbsoluteStability absolute_stability(std::span<const Rational> rho,
                                     std::span<const Rational> sigma) {
    AbsoluteStability result;
    // sigma = 0 leaves pi = rho for every z: S is the whole plane or empty,
    // and the analyses below find which. rho = 0 is no recurrence at all.
    if (is_zero_polynomial(rho)) {
        return result;
    }
    result.status = RegionStatus::REFUSED;
    Scan scan;
    if (!within_limits(rho, sigma) || !find_breakpoints(rho, sigma, scan)) {
        return result;
    }
    bool decided = true;
    std::vector<Configuration> gaps(scan.breakpoints.size() + 1);
    result.real_interval = property_interval(scan, rho, sigma, Property::CLOSED, gaps, decided);
    if (!decided) {
        return result;
    }
    result.status = RegionStatus::DECIDED;
    if (result.real_interval.kind != IntervalEnd::Kind::INFINITE) {
        return result; // no wedge: it would hold the whole negative real axis
    }
    FmpzPoly real_part;
    FmpzPoly imaginary_part;
    locus_in_cosine(scan.pair, real_part.get(), imaginary_part.get());
    std::vector<std::pair<double, double>> negative;
    negative_intervals(real_part.get(), negative);
    result.a_stable = negative.empty();
    std::vector<double> rho_values;
    std::vector<double> sigma_values;
    for (const Rational& value : rho) {
        rho_values.push_back(nearest_double(value));
    }
    for (const Rational& value : sigma) {
        sigma_values.push_back(nearest_double(value));
    }
    double alpha = 90.0;
    for (const auto& [low, high] : negative) {
        // c = cos theta falls as theta rises.
        alpha =
            std::min(alpha, least_angle(rho_values, sigma_values, std::acos(high), std::acos(low)));
    }
    result.alpha_degrees =
        negative.empty() ? 90.0 : certified_angle(real_part.get(), imaginary_part.get(), alpha);
    return result;
}

} // namespace ordimet::analyse

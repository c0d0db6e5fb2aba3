#include "analyse/exact/flint_handles.hpp"
#include "analyse/exact/numbers.hpp"
#include "analyse/roots/aberth.hpp"
#include "analyse/roots/located.hpp"

#include <acb_poly.h>
#include <algorithm>
#include <arb_fmpz_poly.h>
#include <climits>
#include <cmath>
#include <complex>
#include <cstddef>

namespace ordimet::analyse {
namespace {

// The precisions of the enclosure fallback: the first, and the last one
// tried. Left to us: the work of the fallback is bounded, so that every
// decision ends well under a second (docs/performance.md has the worst case
// measured): a step of the iteration costs about n^2 products
// at the working precision, and the steps, the precision and the work in
// all are capped. Roots closer to one another or to the circle than the
// capped work can resolve are not separated, and the root condition is
// refused; the roots of methods from papers and of 17-digit decimals are
// separated at the first precision, mostly in doubles already.
constexpr long FIRST_PRECISION = 64;
constexpr long MAX_PRECISION = 1L << 14;
// Iteration steps at one precision, at most; the next precision starts
// from where this one ended. The work in all, in steps times n^2 times
// precision bits: every precision up to 512 bits for 64 roots.
constexpr long STEPS_PER_PRECISION = 40;
constexpr long MAX_WORK = STEPS_PER_PRECISION * 64 * 64 * 1024;

// Divides out (z - root)^e, root in {0, 1, -1}, and returns e.
int strip_root(fmpz_poly_struct* poly, int root) {
    int count = 0;
    if (root == 0) {
        while (fmpz_poly_length(poly) > 1 && fmpz_is_zero(poly->coeffs)) {
            fmpz_poly_shift_right(poly, poly, 1);
            ++count;
        }
        return count;
    }
    Fmpz value;
    Fmpz point;
    fmpz_set_si(point.get(), root);
    while (fmpz_poly_degree(poly) >= 1) {
        fmpz_poly_evaluate_fmpz(value.get(), poly, point.get());
        if (!fmpz_is_zero(value.get())) {
            break;
        }
        fmpz_poly_div_root(poly, poly, point.get());
        ++count;
    }
    return count;
}

// What roots_on_circle returns when it can't decide, and what stands for a
// count not made yet.
constexpr long NO_DECISION = -1;
constexpr long NOT_COUNTED = -2;

// The self-reciprocal g (degree 2n, no root -1) as h(x) of degree n with
// g(z) / z^n = h(z + 1/z): g(z) / z^n = g_n + sum_i g_{n+i} (z^i + z^-i), and
// z^i + z^-i = P_i(x), P_0 = 2, P_1 = x, P_{i+1} = x P_i - P_{i-1}.
void in_half_degree(const fmpz_poly_struct* g, long n, fmpz_poly_struct* h) {
    FmpzPoly previous;
    FmpzPoly current;
    FmpzPoly next;
    FmpzPoly x;
    fmpz_poly_set_coeff_si(x.get(), 1, 1);
    fmpz_poly_set_coeff_si(previous.get(), 0, 2);
    fmpz_poly_set(current.get(), x.get());
    fmpz_poly_zero(h);
    fmpz_poly_set_coeff_fmpz(h, 0, g->coeffs + n);
    for (long i = 1; i <= n; ++i) {
        fmpz_poly_scalar_addmul_fmpz(h, current.get(), g->coeffs + n + i);
        fmpz_poly_mul(next.get(), x.get(), current.get());
        fmpz_poly_sub(next.get(), next.get(), previous.get());
        fmpz_poly_swap(previous.get(), current.get());
        fmpz_poly_swap(current.get(), next.get());
    }
}

// The number of roots of h (degree n) in (-2, 2): the positive roots of
// H(y) = (y + 1)^n h(2 (y - 1) / (y + 1)), y = (2 + x) / (2 - x), counted by
// Sturm sequences.
long roots_between_minus_two_and_two(const fmpz_poly_struct* h, long n) {
    FmpzPoly transformed;
    FmpzPoly term;
    FmpzPoly below; // 2 (y - 1)
    FmpzPoly above; // y + 1
    fmpz_poly_set_coeff_si(below.get(), 1, 2);
    fmpz_poly_set_coeff_si(below.get(), 0, -2);
    fmpz_poly_set_coeff_si(above.get(), 1, 1);
    fmpz_poly_set_coeff_si(above.get(), 0, 1);
    for (long i = 0; i <= n; ++i) {
        if (fmpz_is_zero(h->coeffs + i)) {
            continue;
        }
        FmpzPoly power;
        fmpz_poly_pow(term.get(), below.get(), static_cast<unsigned long>(i));
        fmpz_poly_pow(power.get(), above.get(), static_cast<unsigned long>(n - i));
        fmpz_poly_mul(term.get(), term.get(), power.get());
        fmpz_poly_scalar_addmul_fmpz(transformed.get(), term.get(), h->coeffs + i);
    }
    long negative = 0;
    long positive = 0;
    _fmpz_poly_num_real_roots_sturm(&negative, &positive, transformed.get()->coeffs,
                                    fmpz_poly_length(transformed.get()));
    return positive;
}

// The number of roots on the unit circle of a squarefree f with no root
// 0, 1 or -1; NO_DECISION if the self-reciprocal part is not as the theory
// says. Those roots are the roots of g = gcd(f, f*), which is
// self-reciprocal (g* divides f* and f** = f) and of even degree 2n since -1
// is not a root; each pair z, 1/z on the circle is a root of h in (-2, 2).
long roots_on_circle(const fmpz_poly_struct* f) {
    FmpzPoly reversed;
    fmpz_poly_reverse(reversed.get(), f, fmpz_poly_length(f));
    FmpzPoly g;
    fmpz_poly_gcd(g.get(), f, reversed.get());
    const long degree = fmpz_poly_degree(g.get());
    if (degree < 1) {
        return 0;
    }
    if (degree % 2 != 0) {
        return NO_DECISION;
    }
    for (long i = 0; i <= degree; ++i) {
        if (!fmpz_equal(g.get()->coeffs + i, g.get()->coeffs + degree - i)) {
            return NO_DECISION;
        }
    }
    const long n = degree / 2;
    FmpzPoly h;
    in_half_degree(g.get(), n, h.get());
    return 2 * roots_between_minus_two_and_two(h.get(), n);
}

using Complex = std::complex<double>;

// The coefficients of f times 2^-E as doubles, E chosen so that the largest
// is below 1: the same roots, whatever the size of the integers. Each
// double is within u |c_j| + 2^-1022 of the scaled coefficient (the second
// term for those that fall below the range of normal doubles).
void to_doubles(const fmpz_poly_struct* f, std::vector<double>& c) {
    const long n = fmpz_poly_degree(f);
    c.resize(as_index(n + 1));
    std::vector<long> exponents(as_index(n + 1));
    long largest = LONG_MIN;
    for (long j = 0; j <= n; ++j) {
        c[as_index(j)] = fmpz_get_d_2exp(&exponents[as_index(j)], f->coeffs + j);
        if (c[as_index(j)] != 0.0) {
            largest = std::max(largest, exponents[as_index(j)]);
        }
    }
    for (long j = 0; j <= n; ++j) {
        const long shift = std::max(exponents[as_index(j)] - largest, -2000L);
        c[as_index(j)] = std::ldexp(c[as_index(j)], static_cast<int>(shift));
    }
}

// Approximations of the roots by the Aberth iteration in doubles: a guess,
// which locate_in_doubles either proves or rejects. False when the
// iteration does not settle.
bool approximate_roots(std::span<const double> c, std::vector<Complex>& roots) {
    if (!aberth_roots(c, roots)) {
        return false;
    }
    // An approximation this close to the real axis is taken as real; the
    // enclosure proves it or rejects the guess.
    for (Complex& z : roots) {
        if (std::fabs(z.imag()) <= 1e-9 * std::max(1.0, std::abs(z))) {
            z = z.real();
        }
    }
    return true;
}

// Slack for the rounding of a few double operations (a relative 1e-10 is
// a million times their error) and the unit roundoff.
constexpr double SLACK = 1e-10;
constexpr double UNIT_ROUNDOFF = 0x1p-53;
// Covers the absolute error 2^-1022 of a scaled coefficient below the
// normal range: TINY * eps is above it.
constexpr double TINY = 0x1p-960;

// Proves the location of every root from the double approximations z_i,
// or answers false (the caller then uses Arb). For any z the disk
// |w - z| <= n |f(z) / f'(z)| holds a root of f (f'/f = sum 1/(z - root)).
// |f(z)| is bounded above and |f'(z)| below by the computed values and
// a priori rounding bounds: converting the integer coefficients to doubles
// and complex Horner's rule (each step a complex product, within sqrt(2)
// gamma_2, and a sum) err by at most about (4n + 1) u sum |c_j| |z|^j for
// f, and twice that, with j |c_j| |z|^(j-1), for f'; the bound used,
// (20 (n + 1) + 2) u, is more than twice the larger. If the n disks are
// pairwise disjoint each holds exactly one of the n roots; a disk centred
// on the real axis then holds a real root (its conjugate lies in the same
// disk). A disk wholly inside or outside the circle decides its root.
bool locate_in_doubles(std::span<const double> c, const std::vector<Complex>& z,
                       std::vector<int>& sides) {
    const long n = static_cast<long>(c.size()) - 1;
    const double n_d = static_cast<double>(n);
    const double eps = (20.0 * (n_d + 1.0) + 2.0) * UNIT_ROUNDOFF * (1.0 + SLACK);
    std::vector<double> radius(as_index(n));
    for (long i = 0; i < n; ++i) {
        const double r = std::abs(z[as_index(i)]);
        Complex derivative;
        const Complex value = evaluate_with_derivative(c, z[as_index(i)], derivative);
        // sum (|c_j| + TINY) r^j and sum j (|c_j| + TINY) r^(j-1): the
        // sizes the rounding bounds scale with.
        double size = std::fabs(c.back()) + TINY;
        double derivative_size = 0.0;
        for (std::size_t j = c.size() - 1; j-- > 0;) {
            derivative_size = derivative_size * r + size;
            size = size * r + std::fabs(c[j]) + TINY;
        }
        const double upper = std::abs(value) * (1.0 + SLACK) + eps * size;
        const double lower = std::abs(derivative) * (1.0 - SLACK) - eps * derivative_size;
        const double rho = n_d * upper / lower * (1.0 + SLACK);
        if (!(lower > 0.0) || !std::isfinite(rho)) {
            return false;
        }
        radius[as_index(i)] = rho;
        if (r * (1.0 + SLACK) + rho < 1.0) {
            sides[as_index(i)] = -1;
        } else if (r * (1.0 - SLACK) - rho > 1.0) {
            sides[as_index(i)] = 1;
        } else {
            return false;
        }
    }
    for (long i = 0; i < n; ++i) {
        for (long j = i + 1; j < n; ++j) {
            const double distance = std::abs(z[as_index(i)] - z[as_index(j)]) * (1.0 - SLACK);
            if (!(distance > radius[as_index(i)] + radius[as_index(j)])) {
                return false;
            }
        }
    }
    return true;
}

// -1 inside, 1 outside, 0 when the disk meets the circle; computed with a
// working precision above that of the enclosure, so that rounding doesn't
// widen it.
int side(acb_t z, long precision) {
    Arb r;
    Arb s;
    arb_sqr(r.get(), acb_realref(z), precision);
    arb_sqr(s.get(), acb_imagref(z), precision);
    arb_add(r.get(), r.get(), s.get(), precision);
    arb_sub_ui(r.get(), r.get(), 1, precision);
    if (arb_is_negative(r.get())) {
        return -1;
    }
    if (arb_is_positive(r.get())) {
        return 1;
    }
    return 0;
}

double midpoint(const arb_t x) {
    return arf_get_d(arb_midref(x), ARF_RND_NEAR);
}

// Marks as real (imaginary part exactly 0) each enclosure whose mirror
// image meets no other enclosure: with the n enclosures disjoint, each
// holding one root, the conjugate of its root lies in its mirror image and
// so in itself, and a root of a real polynomial that is its own conjugate
// is real.
void mark_real_roots(AcbVector& roots) {
    const long n = roots.size();
    Acb mirror;
    for (long i = 0; i < n; ++i) {
        if (!arb_contains_zero(acb_imagref(roots.at(i)))) {
            continue;
        }
        acb_conj(mirror.get(), roots.at(i));
        bool alone = true;
        for (long j = 0; j < n && alone; ++j) {
            alone = j == i || !acb_overlaps(mirror.get(), roots.at(j));
        }
        if (alone) {
            arb_zero(acb_imagref(roots.at(i)));
        }
    }
}

// Rigorous enclosures of the n roots of a squarefree f, one root in each,
// each wholly inside or outside the circle or, when it meets it, one of as
// many as there are roots on the circle (then it holds one of those). The
// Durand-Kerner iteration at rising precision, started from the double
// approximations when there are any, within MAX_PRECISION and MAX_WORK:
// false when no decision was reached within them.
bool enclose_roots(const fmpz_poly_struct* f, const std::vector<Complex>& approximations,
                   AcbVector& roots, std::vector<int>& sides) {
    const long n = fmpz_poly_degree(f);
    AcbVector start(n);
    bool guessed = static_cast<long>(approximations.size()) == n;
    for (long j = 0; guessed && j < n; ++j) {
        const Complex& z = approximations[as_index(j)];
        guessed = std::isfinite(z.real()) && std::isfinite(z.imag());
        // Moved off by a relative 2^-20 in a direction of its own: close
        // roots often have equal approximations in doubles, and the
        // iteration can't part equal starting points.
        const Complex shift =
            std::polar(0x1p-20 * std::max(std::abs(z), 1e-300), 0.4 + static_cast<double>(j));
        acb_set_d_d(start.at(j), z.real() + shift.real(), z.imag() + shift.imag());
    }
    AcbPoly poly;
    long on_circle = NOT_COUNTED;
    long work = 0;
    for (long precision = FIRST_PRECISION; precision <= MAX_PRECISION; precision *= 2) {
        if (work + STEPS_PER_PRECISION * n * n * precision > MAX_WORK) {
            return false;
        }
        acb_poly_set_fmpz_poly(poly.get(), f, precision);
        // Durand-Kerner steps, then a rigorous validation: the count of
        // enclosures proved to hold one root each, apart from the others.
        const long isolated =
            acb_poly_find_roots(roots.get(), poly.get(), guessed ? start.get() : nullptr,
                                STEPS_PER_PRECISION, precision);
        work += STEPS_PER_PRECISION * n * n * precision;
        // The next precision goes on from where this one ended.
        _acb_vec_set(start.get(), roots.get(), n);
        guessed = true;
        if (isolated == n) {
            mark_real_roots(roots);
            long meeting = 0;
            for (long j = 0; j < n; ++j) {
                sides[as_index(j)] = side(roots.at(j), 2 * precision);
                meeting += sides[as_index(j)] == 0 ? 1 : 0;
            }
            if (meeting > 0 && on_circle == NOT_COUNTED) {
                on_circle = roots_on_circle(f);
            }
            if (meeting == 0 || meeting == on_circle) {
                return true;
            }
        }
    }
    return false;
}

// The roots of a squarefree f of degree 1 or 2 located exactly, when that
// is all it takes: a rational root, or a conjugate pair, whose modulus
// squared is c0 / c2. False for two real roots.
bool locate_low_degree(const fmpz_poly_struct* f, int multiplicity, int minimal,
                       std::vector<Located>& out) {
    const long n = fmpz_poly_degree(f);
    const fmpz* c = f->coeffs;
    if (n == 1) {
        // z = -c0 / c1, exactly; |c0| = |c1| would make it +-1.
        Rational root;
        fmpq_set_fmpz_frac(root.get(), c, c + 1);
        fmpq_neg(root.get(), root.get());
        const int cmp = fmpz_cmpabs(c, c + 1);
        out.push_back({nearest_double(root), 0.0, multiplicity, minimal,
                       cmp < 0 ? Location::INSIDE : Location::OUTSIDE});
        return true;
    }
    Fmpz discriminant;
    Fmpz product;
    fmpz_mul(discriminant.get(), c + 1, c + 1);
    fmpz_mul(product.get(), c, c + 2);
    fmpz_submul_ui(discriminant.get(), product.get(), 4);
    if (n != 2 || fmpz_sgn(discriminant.get()) >= 0) {
        return false;
    }
    const int cmp = fmpz_cmpabs(c, c + 2);
    const Location location = cmp < 0   ? Location::INSIDE
                              : cmp > 0 ? Location::OUTSIDE
                                        : Location::ON;
    const double two_a = 2.0 * fmpz_get_d(c + 2);
    const double re = -fmpz_get_d(c + 1) / two_a;
    const double im = std::sqrt(-fmpz_get_d(discriminant.get())) / std::fabs(two_a);
    out.push_back({re, im, multiplicity, minimal, location});
    out.push_back({re, -im, multiplicity, minimal, location});
    return true;
}

// The roots as the certified enclosures give them: each disk's side of the
// circle, its midpoint, and what the midpoint's real part loses to a double.
void push_enclosed(AcbVector& roots, const std::vector<int>& sides, int multiplicity, int minimal,
                   std::vector<Located>& out) {
    for (long j = 0; j < roots.size(); ++j) {
        const int s = sides[as_index(j)];
        const Location location = s < 0   ? Location::INSIDE
                                  : s > 0 ? Location::OUTSIDE
                                          : Location::ON;
        const double re = midpoint(acb_realref(roots.at(j)));
        Arf rest;
        arf_set_d(rest.get(), re);
        arf_sub(rest.get(), arb_midref(acb_realref(roots.at(j))), rest.get(), 53, ARF_RND_NEAR);
        out.push_back({re, midpoint(acb_imagref(roots.at(j))), multiplicity, minimal, location,
                       false, arf_get_d(rest.get(), ARF_RND_NEAR)});
    }
}

// Locates the roots of a squarefree f of degree >= 1 with no root 0, 1 or
// -1; each root carries the given multiplicities. Low degrees exactly, then
// in doubles where that is certain, then by certified enclosures. False when
// no decision was reached within MAX_PRECISION and MAX_WORK.
bool locate_squarefree(const fmpz_poly_struct* f, int multiplicity, int minimal,
                       std::vector<Located>& out) {
    if (fmpz_poly_degree(f) <= 2 && locate_low_degree(f, multiplicity, minimal, out)) {
        return true;
    }
    const long n = fmpz_poly_degree(f);
    std::vector<int> sides(as_index(n));
    std::vector<double> doubles;
    std::vector<Complex> approximations;
    to_doubles(f, doubles);
    const bool approximated = approximate_roots(doubles, approximations);
    if (approximated && locate_in_doubles(doubles, approximations, sides)) {
        for (long j = 0; j < n; ++j) {
            const Complex& z = approximations[as_index(j)];
            out.push_back({z.real(), z.imag(), multiplicity, minimal,
                           sides[as_index(j)] < 0 ? Location::INSIDE : Location::OUTSIDE});
        }
        return true;
    }
    if (!approximated) {
        approximations.clear();
    }
    AcbVector roots(n);
    if (!enclose_roots(f, approximations, roots, sides)) {
        return false;
    }
    push_enclosed(roots, sides, multiplicity, minimal, out);
    return true;
}

// Real roots first in ascending order, then the complex ones by real part,
// the upper one of a pair first.
void sort_roots(std::vector<Located>& roots) {
    std::sort(roots.begin(), roots.end(), [](const Located& a, const Located& b) {
        const bool a_real = a.im == 0.0;
        const bool b_real = b.im == 0.0;
        if (a_real != b_real) {
            return a_real;
        }
        if (a.re != b.re) {
            return a.re < b.re;
        }
        if (a_real) {
            return a.residual < b.residual;
        }
        if (a.im != b.im) {
            return a.im > b.im;
        }
        return a.residual < b.residual;
    });
}

// The roots of a real polynomial, from `first` on, shown as conjugate
// pairs: each root of the lower half-plane takes the values of the nearest
// unpaired root of the upper one, conjugated, so that the two halves of a
// pair print alike (the enclosures' midpoints differ in their last bits).
void pair_conjugates(std::vector<Located>& roots, std::size_t first) {
    std::vector<bool> paired(roots.size(), false);
    for (std::size_t i = first; i < roots.size(); ++i) {
        if (!(roots[i].im > 0.0)) {
            continue;
        }
        std::size_t best = roots.size();
        double best_distance = 0.0;
        for (std::size_t j = first; j < roots.size(); ++j) {
            if (paired[j] || !(roots[j].im < 0.0)) {
                continue;
            }
            const double distance =
                std::abs(roots[i].re - roots[j].re) + std::abs(roots[i].im + roots[j].im);
            if (best == roots.size() || distance < best_distance) {
                best = j;
                best_distance = distance;
            }
        }
        if (best < roots.size()) {
            paired[best] = true;
            roots[best].re = roots[i].re;
            roots[best].im = -roots[i].im;
            roots[best].residual = roots[i].residual;
        }
    }
}

// The roots 0, 1 and -1 of an integer polynomial, divided out of it, with
// their multiplicities; `minimal` is the same for a second polynomial with
// the same roots (the minimal polynomial of a matrix), or null.
void strip_exact_roots(fmpz_poly_struct* poly, fmpz_poly_struct* minimal,
                       std::vector<Located>& out) {
    constexpr int EXACT_ROOTS[] = {-1, 0, 1};
    for (const int root : EXACT_ROOTS) {
        const int multiplicity = strip_root(poly, root);
        const int minimal_multiplicity = minimal != nullptr ? strip_root(minimal, root) : 1;
        if (multiplicity > 0) {
            out.push_back({static_cast<double>(root), 0.0, multiplicity, minimal_multiplicity,
                           root == 0 ? Location::INSIDE : Location::ON, root == 1});
        }
    }
}

// Locates every root of poly (stripped of 0, 1, -1), with the multiplicity
// of each in poly and, when minimal is given, in minimal.
bool locate_remaining(const fmpz_poly_struct* poly, const fmpz_poly_struct* minimal,
                      std::vector<Located>& out) {
    if (fmpz_poly_degree(poly) < 1) {
        return true;
    }
    FmpzPolyFactor parts;
    fmpz_poly_factor_squarefree(parts.get(), poly);
    FmpzPolyFactor minimal_parts;
    if (minimal != nullptr) {
        fmpz_poly_factor_squarefree(minimal_parts.get(), minimal);
    }
    for (long i = 0; i < parts.get()->num; ++i) {
        const fmpz_poly_struct* part = parts.get()->p + i;
        const int multiplicity = static_cast<int>(parts.get()->exp[i]);
        if (minimal == nullptr) {
            if (!locate_squarefree(part, multiplicity, 1, out)) {
                return false;
            }
            continue;
        }
        for (long j = 0; j < minimal_parts.get()->num; ++j) {
            FmpzPoly common;
            fmpz_poly_gcd(common.get(), part, minimal_parts.get()->p + j);
            if (fmpz_poly_degree(common.get()) >= 1 &&
                !locate_squarefree(common.get(), multiplicity,
                                   static_cast<int>(minimal_parts.get()->exp[j]), out)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

bool locate_roots(fmpz_poly_struct* poly, fmpz_poly_struct* minimal, std::vector<Located>& out) {
    strip_exact_roots(poly, minimal, out);
    if (!locate_remaining(poly, minimal, out)) {
        return false;
    }
    pair_conjugates(out, 0);
    sort_roots(out);
    return true;
}

} // namespace ordimet::analyse

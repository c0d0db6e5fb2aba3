#include "analyse/linear/real_roots.hpp"

#include "analyse/exact/numbers.hpp"

#include <algorithm>
#include <cstdio>
#include <string>

namespace ordimet::analyse {

namespace {

// c / 2^k.
Rational dyadic(const fmpz_t c, ulong k) {
    Rational value;
    fmpz_set(fmpq_numref(value.get()), c);
    fmpz_one(fmpq_denref(value.get()));
    fmpz_mul_2exp(fmpq_denref(value.get()), fmpq_denref(value.get()), k);
    fmpq_canonicalise(value.get());
    return value;
}

} // namespace

int compare(const Rational& a, const Rational& b) {
    return fmpq_cmp(a.get(), b.get());
}

int sign_at(const fmpz_poly_struct* f, const Rational& x) {
    Rational value;
    fmpz_poly_evaluate_fmpq(value.get(), f, x.get());
    return fmpq_sgn(value.get());
}

// The sign of a squarefree f just beside x, to its right or its left: f's
// own sign, or at a root of f (a simple one) that of f' on the right and
// its opposite on the left. An interval's end can be a rational root of f
// found on the way, while its one root inside is another.
int sign_beside(const fmpz_poly_struct* f, const Rational& x, bool right) {
    const int sign = sign_at(f, x);
    if (sign != 0) {
        return sign;
    }
    FmpzPoly slope;
    fmpz_poly_derivative(slope.get(), f);
    return right ? sign_at(slope.get(), x) : -sign_at(slope.get(), x);
}

// The sign variations of the coefficients: by Descartes' rule, an upper
// bound of the positive roots, exact when it is 0 or 1.
long sign_changes(const fmpz_poly_struct* f) {
    long changes = 0;
    int last = 0;
    for (slong j = 0; j < fmpz_poly_length(f); ++j) {
        const int sign = fmpz_sgn(f->coeffs + j);
        if (sign != 0) {
            changes += last != 0 && sign != last ? 1 : 0;
            last = sign;
        }
    }
    return changes;
}

namespace {

// A piece of (0, 1) in the Collins-Akritas bisection: q(x) stands for p on
// (c/2^k, (c+1)/2^k).
struct Piece {
    FmpzPoly q;
    Fmpz c;
    ulong k = 0;
};

// The root c/2^k, or the interval (c/2^k, (c+1)/2^k), of part `part`.
RealRoot dyadic_root(std::size_t part, const fmpz_t c, ulong k, bool interval) {
    RealRoot root;
    root.part = part;
    root.lower = dyadic(c, k);
    if (!interval) {
        root.upper = root.lower;
        return root;
    }
    Fmpz next;
    fmpz_add_ui(next.get(), c, 1);
    root.upper = dyadic(next.get(), k);
    return root;
}

// The halves of a piece: left(x) = 2^n q(x / 2), right(x) = left(x + 1);
// a root at the middle is found exactly and divided out of the right half.
void halves(const Piece& piece, std::size_t part, Piece& left, Piece& right,
            std::vector<RealRoot>& out) {
    const slong length = fmpz_poly_length(piece.q.get());
    const slong n = length - 1;
    Fmpz one;
    fmpz_one(one.get());
    fmpz_poly_set(left.q.get(), piece.q.get());
    for (slong i = 0; i < length; ++i) {
        fmpz_mul_2exp(left.q.get()->coeffs + i, left.q.get()->coeffs + i,
                      static_cast<ulong>(n - i));
    }
    fmpz_poly_taylor_shift(right.q.get(), left.q.get(), one.get());
    fmpz_mul_2exp(left.c.get(), piece.c.get(), 1);
    fmpz_add_ui(right.c.get(), left.c.get(), 1);
    left.k = right.k = piece.k + 1;
    if (fmpz_is_zero(right.q.get()->coeffs)) {
        out.push_back(dyadic_root(part, right.c.get(), right.k, false));
        fmpz_poly_shift_right(right.q.get(), right.q.get(), 1);
    }
}

// The sign variations of (x + 1)^n q(1/(x + 1)): a bound of q's roots in
// (0, 1), exact when it is 0 or 1.
long variations_in_unit_interval(const fmpz_poly_struct* q) {
    FmpzPoly test;
    Fmpz one;
    fmpz_one(one.get());
    fmpz_poly_reverse(test.get(), q, fmpz_poly_length(q));
    fmpz_poly_taylor_shift(test.get(), test.get(), one.get());
    return sign_changes(test.get());
}

void move_into(Piece& from, Piece& to) {
    fmpz_poly_swap(to.q.get(), from.q.get());
    fmpz_swap(to.c.get(), from.c.get());
    to.k = from.k;
}

} // namespace

void roots_in_unit_interval(const fmpz_poly_struct* p, std::size_t part,
                            std::vector<RealRoot>& out) {
    std::deque<Piece> stack;
    fmpz_poly_set(stack.emplace_back().q.get(), p);
    while (!stack.empty()) {
        Piece& piece = stack.back();
        const long variations = variations_in_unit_interval(piece.q.get());
        if (variations <= 1) {
            if (variations == 1) {
                out.push_back(dyadic_root(part, piece.c.get(), piece.k, true));
            }
            stack.pop_back();
            continue;
        }
        Piece left;
        Piece right;
        halves(piece, part, left, right, out);
        stack.pop_back();
        move_into(right, stack.emplace_back());
        move_into(left, stack.emplace_back());
    }
}

// Halves the isolating interval of a root, keeping the half where the
// polynomial changes sign; a midpoint that is the root makes it exact.
void halve(const fmpz_poly_struct* f, RealRoot& root) {
    if (root.exact()) {
        return;
    }
    Rational middle;
    fmpq_add(middle.get(), root.lower.get(), root.upper.get());
    fmpq_div_2exp(middle.get(), middle.get(), 1);
    const int at_middle = sign_at(f, middle);
    if (at_middle == 0) {
        root.lower = middle;
        root.upper = middle;
    } else if (at_middle == sign_beside(f, root.lower, true)) {
        root.lower = std::move(middle);
    } else {
        root.upper = std::move(middle);
    }
}

// The positive roots of a squarefree f with f(0) != 0: those of f(2^b t)
// in (0, 1), with 2^b above every root's modulus (Cauchy's bound).
void positive_roots_of(const fmpz_poly_struct* f, std::size_t part, std::vector<RealRoot>& out) {
    if (sign_changes(f) == 0) {
        return;
    }
    FmpzPoly scaled;
    fmpz_poly_set(scaled.get(), f); // f(0) != 0
    const slong n = fmpz_poly_degree(scaled.get());
    if (n < 1) {
        return;
    }
    ulong widest = 0;
    for (slong i = 0; i < n; ++i) {
        widest = std::max<ulong>(widest, fmpz_bits(scaled.get()->coeffs + i));
    }
    const ulong lead = fmpz_bits(scaled.get()->coeffs + n);
    const ulong b = widest + 2 > lead ? widest + 2 - lead : 1;
    for (slong i = 1; i <= n; ++i) {
        fmpz_mul_2exp(scaled.get()->coeffs + i, scaled.get()->coeffs + i,
                      b * static_cast<ulong>(i));
    }
    const std::size_t first = out.size();
    roots_in_unit_interval(scaled.get(), part, out);
    Rational scale;
    fmpz_one(fmpq_numref(scale.get()));
    fmpz_mul_2exp(fmpq_numref(scale.get()), fmpq_numref(scale.get()), b);
    for (std::size_t i = first; i < out.size(); ++i) {
        fmpq_mul(out[i].lower.get(), out[i].lower.get(), scale.get());
        fmpq_mul(out[i].upper.get(), out[i].upper.get(), scale.get());
        // The first interval may start at 0: made to start above it.
        Rational zero;
        while (!out[i].exact() && compare(out[i].lower, zero) == 0) {
            halve(f, out[i]);
        }
    }
}

// Sorts roots of several coprime squarefree polynomials and makes their
// intervals apart, halving the wider of two that meet.
void sort_apart(std::span<const fmpz_poly_struct* const> parts, std::vector<RealRoot>& roots) {
    for (bool parted = false; !parted;) {
        std::sort(roots.begin(), roots.end(), [](const RealRoot& a, const RealRoot& b) {
            return compare(a.lower, b.lower) < 0;
        });
        parted = true;
        for (std::size_t i = 1; i < roots.size(); ++i) {
            if (compare(roots[i - 1].upper, roots[i].lower) < 0) {
                continue;
            }
            parted = false;
            Rational first;
            Rational second;
            fmpq_sub(first.get(), roots[i - 1].upper.get(), roots[i - 1].lower.get());
            fmpq_sub(second.get(), roots[i].upper.get(), roots[i].lower.get());
            RealRoot& wider = compare(first, second) >= 0 ? roots[i - 1] : roots[i];
            halve(parts[wider.part], wider);
        }
    }
}

// The value of a root to 6 significant digits: its interval is halved
// until both ends print alike.
double six_digits(const fmpz_poly_struct* f, RealRoot root) {
    char low[32];
    char high[32];
    for (int step = 0; step < 400 && !root.exact(); ++step) {
        std::snprintf(low, sizeof low, "%.6g", nearest_double(root.lower));
        std::snprintf(high, sizeof high, "%.6g", nearest_double(root.upper));
        if (std::string(low) == high) {
            break;
        }
        halve(f, root);
    }
    Rational middle;
    fmpq_add(middle.get(), root.lower.get(), root.upper.get());
    fmpq_div_2exp(middle.get(), middle.get(), 1);
    return nearest_double(middle);
}

// Whether g vanishes at the root: a common root of g and the root's
// polynomial f lies in its interval.
bool vanishes_at(const fmpz_poly_struct* f, const fmpz_poly_struct* g, const RealRoot& root) {
    if (fmpz_poly_is_zero(g)) {
        return true;
    }
    if (root.exact()) {
        return sign_at(g, root.lower) == 0;
    }
    FmpzPoly common;
    fmpz_poly_gcd(common.get(), f, g);
    if (fmpz_poly_degree(common.get()) < 1) {
        return false;
    }
    // common divides f, so it has at most f's one root in the interval,
    // and changes sign there exactly when it has it.
    return sign_beside(common.get(), root.lower, true) !=
           sign_beside(common.get(), root.upper, false);
}

// The irreducible factor of f whose root the root is.
void irreducible_at(const fmpz_poly_struct* f, const RealRoot& root, fmpz_poly_struct* result) {
    FmpzPolyFactor factors;
    fmpz_poly_factor(factors.get(), f);
    for (slong i = 0; i < factors.get()->num; ++i) {
        if (vanishes_at(f, factors.get()->p + i, root)) {
            fmpz_poly_set(result, factors.get()->p + i);
            return;
        }
    }
    fmpz_poly_set(result, f); // not reached: some factor vanishes there
}

Rational simplest_between(const Rational& low, const Rational& high) {
    Rational result;
    fmpq_simplest_between(result.get(), low.get(), high.get());
    return result;
}

Rational weighted(const Rational& a, long wa, const Rational& b, long wb) {
    Rational result;
    Rational part;
    fmpq_mul_si(result.get(), a.get(), wa);
    fmpq_mul_si(part.get(), b.get(), wb);
    fmpq_add(result.get(), result.get(), part.get());
    Fmpz total;
    fmpz_set_si(total.get(), wa + wb);
    fmpq_div_fmpz(result.get(), result.get(), total.get());
    return result;
}

// The roots in (-1, 1) of the squarefree parts of e (with `odd_only`, of
// those of odd multiplicity), ascending and apart, each interval strictly
// inside (-1, 1) and narrower than 2^-20; `parts` holds the parts without
// the roots +-1, which the roots refer to.
void roots_in_open_unit(const fmpz_poly_struct* e, bool odd_only, std::deque<FmpzPoly>& parts,
                        std::vector<RealRoot>& roots) {
    FmpzPolyFactor factors;
    fmpz_poly_factor_squarefree(factors.get(), e);
    const Rational minus_one(-1, 1);
    const Rational plus_one(1, 1);
    std::vector<const fmpz_poly_struct*> polys;
    FmpzPoly shifted;
    FmpzPoly quotient;
    FmpzPoly end_root;
    Fmpz minus;
    fmpz_set_si(minus.get(), -1);
    for (slong i = 0; i < factors.get()->num; ++i) {
        FmpzPoly& g = parts.emplace_back();
        polys.push_back(g.get()); // one per factor, so that the indices agree
        if (odd_only && factors.get()->exp[i] % 2 == 0) {
            continue;
        }
        fmpz_poly_set(g.get(), factors.get()->p + i);
        for (const int root : {1, -1}) {
            fmpz_poly_zero(end_root.get());
            fmpz_poly_set_coeff_si(end_root.get(), 0, -root);
            fmpz_poly_set_coeff_si(end_root.get(), 1, 1);
            while (fmpz_poly_degree(g.get()) >= 1 &&
                   fmpz_poly_divides(quotient.get(), g.get(), end_root.get())) {
                fmpz_poly_swap(g.get(), quotient.get());
            }
        }
        if (fmpz_poly_degree(g.get()) < 1) {
            continue;
        }
        // g(2t - 1): shifted by -1, then coefficient j times 2^j.
        fmpz_poly_taylor_shift(shifted.get(), g.get(), minus.get());
        for (slong j = 1; j < fmpz_poly_length(shifted.get()); ++j) {
            fmpz_mul_2exp(shifted.get()->coeffs + j, shifted.get()->coeffs + j,
                          static_cast<ulong>(j));
        }
        const std::size_t first = roots.size();
        roots_in_unit_interval(shifted.get(), static_cast<std::size_t>(i), roots);
        for (std::size_t r = first; r < roots.size(); ++r) {
            for (Rational* end : {&roots[r].lower, &roots[r].upper}) {
                fmpq_mul_2exp(end->get(), end->get(), 1);
                fmpq_sub(end->get(), end->get(), plus_one.get());
            }
        }
    }
    sort_apart(polys, roots);
    Rational width;
    const Rational narrow(1, 1UL << 20);
    for (RealRoot& root : roots) {
        while (compare(root.lower, minus_one) <= 0 || compare(root.upper, plus_one) >= 0) {
            halve(polys[root.part], root);
        }
        for (fmpq_sub(width.get(), root.upper.get(), root.lower.get()); compare(width, narrow) > 0;
             fmpq_sub(width.get(), root.upper.get(), root.lower.get())) {
            halve(polys[root.part], root);
        }
    }
}

// A rational point inside each piece of (-1, 1) between the roots.
std::vector<Rational> samples_between(const std::vector<RealRoot>& roots) {
    std::vector<Rational> ends{Rational(-1, 1)};
    for (const RealRoot& root : roots) {
        ends.push_back(root.lower);
        ends.push_back(root.upper);
    }
    ends.push_back(Rational(1, 1));
    std::vector<Rational> samples;
    for (std::size_t i = 0; i + 1 < ends.size(); i += 2) {
        samples.push_back(simplest_between(weighted(ends[i], 3, ends[i + 1], 1),
                                           weighted(ends[i], 1, ends[i + 1], 3)));
    }
    return samples;
}

} // namespace ordimet::analyse

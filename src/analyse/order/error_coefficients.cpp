// Exact error coefficients, order and error constant of one algorithm.

#include "analyse/exact/flint_handles.hpp"
#include "analyse/exact/numbers.hpp"
#include "analyse/order/order.hpp"

#include <algorithm>
#include <cstddef>

namespace ordimet::analyse {
namespace {

// The coefficients times the least common denominator D, as integers:
// a[j] = D A[j], b[j] = D B[j]. Every C_i is then (integer part) / D, and
// the zero tests need no fractions.
void clear_denominators(int k, std::span<const Rational> coefficients, FmpzVector& scaled,
                        Fmpz& common) {
    fmpz_one(common.get());
    for (const Rational& value : coefficients) {
        fmpz_lcm(common.get(), common.get(), fmpq_denref(value.get()));
    }
    const long count = 2 * long{k} + 2;
    for (long j = 0; j < count; ++j) {
        const fmpq* value = coefficients[as_index(j)].get();
        fmpz_divexact(scaled.at(j), common.get(), fmpq_denref(value));
        fmpz_mul(scaled.at(j), scaled.at(j), fmpq_numref(value));
    }
}

bool all_zero(const fmpz* values, long count) {
    return std::all_of(values, values + count, [](const fmpz& v) { return fmpz_is_zero(&v); });
}

// A bound no zero index of a non-zero set can pass. With z = e^t the
// C_i are the Taylor coefficients at t = 0 of
//     E(t) = sum_j A[j] e^{jt} - t^m sum_j B[j] e^{jt},
// and q is the order of the zero of E at 0. The functions e^{jt} and
// t^m e^{jt} are linearly independent, so E vanishes identically only for
// the zero set; the bounds say how far its zero can go:
// - B = 0: C_i = (1/i!) sum j^i A[j], and the vectors (j^i)_{j=0..k},
//   i = 0..k, are the rows of a Vandermonde matrix on the distinct nodes
//   0..k (0^0 = 1), so some C_i with i <= k is not 0: q <= k.
// - A = 0: likewise C_{m+r} = -(1/r!) sum j^r B[j] for some r <= k: q <= m + k.
// - m > k, A != 0: C_0 .. C_k involve A alone, so q <= k.
// - m = 1: E solves prod_j (D - j)^2 y = 0, an equation of order 2k + 2, and
//   a non-zero solution vanishes at 0 to an order below 2k + 2: q <= 2k + 1.
// - otherwise E lies in the (k+1)(m+1)-dimensional solution space of
//   prod_j (D - j)^(m+1) y = 0: q <= (k+1)(m+1) - 1 (the Polya bound).
// The scan stops at q, so the bound costs nothing; it proves that every
// non-zero set has an order, and caps the scan if that proof were wrong.
std::int64_t order_bound(int k, int m, bool a_zero, bool b_zero) {
    const std::int64_t kk = k;
    const std::int64_t mm = m;
    if (b_zero || (!a_zero && mm > kk)) {
        return kk;
    }
    if (a_zero) {
        return mm + kk;
    }
    if (mm == 1) {
        return 2 * kk + 1;
    }
    return (kk + 1) * (mm + 1) - 1;
}

// The scan over the index i: the integer coefficients a[j] = D A[j] and
// b[j] = D B[j], and the powers j^i of each column, kept from one index to
// the next. alpha_i = sum j^i a[j] and beta_r = sum j^r b[j];
// C_i = alpha_i / (i! D) for i < m, and
// C_i = (alpha_i - i!/(i-m)! beta_{i-m}) / (i! D) from i = m on.
struct PowerScan {
    explicit PowerScan(long columns)
        : n(columns), scaled(2 * columns), a_power(columns), b_power(columns) {
        for (long j = 0; j < n; ++j) {
            fmpz_one(a_power.at(j));
            fmpz_one(b_power.at(j));
        }
    }
    const fmpz* a() { return scaled.get(); }
    const fmpz* b() { return scaled.get() + n; }

    long n;
    FmpzVector scaled;
    FmpzVector a_power;
    FmpzVector b_power;
    bool a_zero = false;
};

// sum_j j^i x[j] for the current i of `power`, which moves on to i + 1.
void next_power_sum(long n, const fmpz* x, FmpzVector& power, Fmpz& sum) {
    fmpz_zero(sum.get());
    for (long j = 0; j < n; ++j) {
        fmpz_addmul(sum.get(), power.at(j), x + j);
        fmpz_mul_ui(power.at(j), power.at(j), static_cast<unsigned long>(j));
    }
}

// The first non-zero C_q as numerator / denominator over D (q = -1 when
// none was found).
struct FirstNonZero {
    std::int64_t q = -1;
    Fmpz numerator;
    Fmpz denominator;
};

// Scans the C_i below m, which involve A alone, and returns the index at
// which the scan goes on. If C_0 .. C_k all vanish there, A = 0
// (Vandermonde), so every C_i up to m - 1 does: the scan jumps to m.
std::int64_t scan_below_m(int k, int m, PowerScan& scan, FirstNonZero& found) {
    std::int64_t i = 0;
    Fmpz alpha;
    for (; i < m && i <= k; ++i) {
        if (scan.a_zero) {
            continue;
        }
        next_power_sum(scan.n, scan.a(), scan.a_power, alpha);
        if (!fmpz_is_zero(alpha.get())) {
            found.q = i;
            fmpz_set(found.numerator.get(), alpha.get());
            fmpz_fac_ui(found.denominator.get(), static_cast<unsigned long>(i));
            return i;
        }
    }
    // Only reached below m with A = 0, where every power of A is irrelevant.
    return std::max<std::int64_t>(i, m);
}

// Scans C_i for i = first .. bound, first >= m, until one is not 0. From
// here on A is 0 or m <= k + 1 <= MAX_EXACT_STEP + 1, so the falling
// factorial i!/(i-m)! stays small; with A = 0 it is not needed.
void scan_from_m(std::int64_t first, int m, std::int64_t bound, PowerScan& scan,
                 FirstNonZero& found) {
    Fmpz falling;
    if (!scan.a_zero) {
        fmpz_fac_ui(falling.get(), static_cast<unsigned long>(first));
        Fmpz rest;
        fmpz_fac_ui(rest.get(), static_cast<unsigned long>(first - m));
        fmpz_divexact(falling.get(), falling.get(), rest.get());
    }
    Fmpz alpha;
    Fmpz beta;
    for (std::int64_t i = first; i <= bound; ++i) {
        next_power_sum(scan.n, scan.b(), scan.b_power, beta);
        if (scan.a_zero) {
            fmpz_neg(found.numerator.get(), beta.get());
        } else {
            next_power_sum(scan.n, scan.a(), scan.a_power, alpha);
            fmpz_mul(found.numerator.get(), falling.get(), beta.get());
            fmpz_sub(found.numerator.get(), alpha.get(), found.numerator.get());
        }
        if (!fmpz_is_zero(found.numerator.get())) {
            found.q = i;
            // With A = 0 the numerator is over (q - m)! instead of q!.
            fmpz_fac_ui(found.denominator.get(),
                        static_cast<unsigned long>(scan.a_zero ? i - m : i));
            return;
        }
        if (!scan.a_zero) {
            // (i+1)! / (i+1-m)! from i! / (i-m)!.
            fmpz_mul_ui(falling.get(), falling.get(), static_cast<unsigned long>(i + 1));
            fmpz_divexact_ui(falling.get(), falling.get(), static_cast<unsigned long>(i + 1 - m));
        }
    }
}

// C_q, and the error constant C_q / (sum B) = C_q D / sum b when the sum of
// the B is not 0.
void set_error_terms(FirstNonZero& found, const Fmpz& common, PowerScan& scan, ExactOrder& result) {
    fmpz_mul(found.denominator.get(), found.denominator.get(), common.get());
    fmpq_set_fmpz_frac(result.error_coefficient.get(), found.numerator.get(),
                       found.denominator.get());
    Fmpz b_sum;
    for (long j = 0; j < scan.n; ++j) {
        fmpz_add(b_sum.get(), b_sum.get(), scan.b() + j);
    }
    if (fmpz_is_zero(b_sum.get())) {
        result.outcome = OrderOutcome::NO_ERROR_CONSTANT;
        return;
    }
    Rational scale;
    fmpq_set_fmpz_frac(scale.get(), common.get(), b_sum.get());
    fmpq_mul(result.error_constant.get(), result.error_coefficient.get(), scale.get());
    result.error_constant_decimal = nearest_double(result.error_constant);
    result.outcome = OrderOutcome::FOUND;
}

} // namespace

ExactOrder exact_order(int k, int m, std::span<const Rational> coefficients) {
    ExactOrder result;
    result.implicit = !coefficients[as_index(2 * long{k} + 1)].is_zero();
    if (k > MAX_EXACT_STEP || cleared_size(coefficients, MAX_EXACT_BITS) > MAX_EXACT_BITS) {
        result.outcome = OrderOutcome::REFUSED;
        return result;
    }
    PowerScan scan(long{k} + 1);
    Fmpz common;
    clear_denominators(k, coefficients, scan.scaled, common);
    scan.a_zero = all_zero(scan.a(), scan.n);
    const bool b_zero = all_zero(scan.b(), scan.n);
    if (scan.a_zero && b_zero) {
        result.outcome = OrderOutcome::ALL_ZERO;
        return result;
    }
    result.bound = order_bound(k, m, scan.a_zero, b_zero);
    FirstNonZero found;
    const std::int64_t next = scan_below_m(k, m, scan, found);
    if (found.q < 0) {
        scan_from_m(next, m, result.bound, scan, found);
    }
    if (found.q < 0) {
        // Every C_i up to the bound vanishes: by the bound's proof only the
        // zero set does that, handled above; kept as the honest answer.
        result.outcome = OrderOutcome::ALL_ZERO;
        return result;
    }
    result.error_index = found.q;
    result.order = found.q - m;
    set_error_terms(found, common, scan, result);
    return result;
}

} // namespace ordimet::analyse

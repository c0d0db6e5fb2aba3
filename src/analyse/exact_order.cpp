// Exact step reduction, error coefficients, order and the order of a
// composite or cyclic method with its consistency raise.

#include "analyse/exact.hpp"
#include "analyse/flint_handles.hpp"

#include <algorithm>
#include <arf.h>
#include <cstddef>

namespace ordimet::analyse {
namespace {

std::size_t index(long i) {
    return static_cast<std::size_t>(i);
}

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
        const fmpq* value = coefficients[index(j)].get();
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

} // namespace

long cleared_size(std::span<const Rational> values, long limit) {
    const long count = static_cast<long>(values.size());
    long widest = 0;
    for (const Rational& value : values) {
        widest = std::max(widest, static_cast<long>(fmpz_bits(fmpq_numref(value.get()))));
    }
    // The common denominator grows one factor at a time; stopping once the
    // size is beyond the limit keeps the work within it.
    Fmpz common;
    fmpz_one(common.get());
    long size = 0;
    for (const Rational& value : values) {
        fmpz_lcm(common.get(), common.get(), fmpq_denref(value.get()));
        size = count * (static_cast<long>(fmpz_bits(common.get())) + widest);
        if (size > limit) {
            break;
        }
    }
    return size;
}

int leading_zero_columns(int k, std::span<const Coefficients> algorithms) {
    int s = 0;
    while (s < k) {
        for (const Coefficients& set : algorithms) {
            if (!set[index(s)].is_zero() || !set[index(long{k} + 1 + s)].is_zero()) {
                return s;
            }
        }
        ++s;
    }
    return s;
}

Coefficients drop_leading_columns(int k, int s, std::span<const Rational> coefficients) {
    Coefficients reduced;
    reduced.reserve(2 * index(long{k} - s) + 2);
    for (long j = s; j <= k; ++j) {
        reduced.push_back(coefficients[index(j)]);
    }
    for (long j = s; j <= k; ++j) {
        reduced.push_back(coefficients[index(long{k} + 1 + j)]);
    }
    return reduced;
}

double nearest_double(const Rational& value) {
    arf_t numerator;
    arf_t denominator;
    arf_t quotient;
    arf_init(numerator);
    arf_init(denominator);
    arf_init(quotient);
    arf_set_fmpz(numerator, fmpq_numref(value.get()));
    arf_set_fmpz(denominator, fmpq_denref(value.get()));
    arf_div(quotient, numerator, denominator, 53, ARF_RND_NEAR);
    const double result = arf_get_d(quotient, ARF_RND_NEAR);
    arf_clear(numerator);
    arf_clear(denominator);
    arf_clear(quotient);
    return result;
}

ExactOrder exact_order(int k, int m, std::span<const Rational> coefficients) {
    ExactOrder result;
    result.implicit = !coefficients[index(2 * long{k} + 1)].is_zero();
    const long n = long{k} + 1;
    if (k > MAX_EXACT_STEP || cleared_size(coefficients, MAX_EXACT_BITS) > MAX_EXACT_BITS) {
        result.outcome = OrderOutcome::REFUSED;
        return result;
    }
    FmpzVector scaled(2 * n);
    Fmpz common;
    clear_denominators(k, coefficients, scaled, common);
    const fmpz* a = scaled.get();
    const fmpz* b = scaled.get() + n;
    const bool a_zero = all_zero(a, n);
    const bool b_zero = all_zero(b, n);
    if (a_zero && b_zero) {
        result.outcome = OrderOutcome::ALL_ZERO;
        return result;
    }
    result.bound = order_bound(k, m, a_zero, b_zero);

    // alpha_i = sum j^i a[j] and beta_r = sum j^r b[j], with the powers kept
    // from one index to the next. C_i = alpha_i / (i! D) for i < m, and
    // C_i = (alpha_i - i!/(i-m)! beta_{i-m}) / (i! D) from i = m on.
    FmpzVector a_power(n);
    FmpzVector b_power(n);
    for (long j = 0; j < n; ++j) {
        fmpz_one(a_power.at(j));
        fmpz_one(b_power.at(j));
    }
    Fmpz alpha;
    Fmpz beta;
    Fmpz falling; // i! / (i - m)!
    Fmpz numerator;
    Fmpz denominator; // i! D
    std::int64_t q = -1;
    std::int64_t i = 0;
    // Below m only A counts. If C_0 .. C_k all vanish there, A = 0
    // (Vandermonde), so every C_i up to m - 1 does: the scan jumps to m.
    const std::int64_t first_b = m;
    for (; i < first_b && i <= k; ++i) {
        if (!a_zero) {
            fmpz_zero(alpha.get());
            for (long j = 0; j < n; ++j) {
                fmpz_addmul(alpha.get(), a_power.at(j), a + j);
                fmpz_mul_ui(a_power.at(j), a_power.at(j), static_cast<unsigned long>(j));
            }
            if (!fmpz_is_zero(alpha.get())) {
                q = i;
                fmpz_set(numerator.get(), alpha.get());
                fmpz_fac_ui(denominator.get(), static_cast<unsigned long>(i));
                break;
            }
        }
    }
    if (q < 0) {
        if (i < first_b) {
            // Only reached with A = 0, where every power of A is irrelevant.
            i = first_b;
        }
        // From here on A is 0 or m <= k + 1 <= MAX_EXACT_STEP + 1, so the
        // falling factorial stays small; with A = 0 it is not needed.
        if (!a_zero) {
            fmpz_fac_ui(falling.get(), static_cast<unsigned long>(i));
            Fmpz rest;
            fmpz_fac_ui(rest.get(), static_cast<unsigned long>(i - m));
            fmpz_divexact(falling.get(), falling.get(), rest.get());
        }
        for (; i <= result.bound; ++i) {
            fmpz_zero(beta.get());
            for (long j = 0; j < n; ++j) {
                fmpz_addmul(beta.get(), b_power.at(j), b + j);
                fmpz_mul_ui(b_power.at(j), b_power.at(j), static_cast<unsigned long>(j));
            }
            if (a_zero) {
                fmpz_neg(numerator.get(), beta.get());
            } else {
                fmpz_zero(alpha.get());
                for (long j = 0; j < n; ++j) {
                    fmpz_addmul(alpha.get(), a_power.at(j), a + j);
                    fmpz_mul_ui(a_power.at(j), a_power.at(j), static_cast<unsigned long>(j));
                }
                fmpz_mul(numerator.get(), falling.get(), beta.get());
                fmpz_sub(numerator.get(), alpha.get(), numerator.get());
            }
            if (!fmpz_is_zero(numerator.get())) {
                q = i;
                // With A = 0 the numerator is over (q - m)! instead of q!.
                fmpz_fac_ui(denominator.get(), static_cast<unsigned long>(a_zero ? i - m : i));
                break;
            }
            if (!a_zero) {
                // (i+1)! / (i+1-m)! from i! / (i-m)!.
                fmpz_mul_ui(falling.get(), falling.get(), static_cast<unsigned long>(i + 1));
                fmpz_divexact_ui(falling.get(), falling.get(),
                                 static_cast<unsigned long>(i + 1 - m));
            }
        }
    }
    if (q < 0) {
        // Every C_i up to the bound vanishes: by the bound's proof only the
        // zero set does that, handled above; kept as the honest answer.
        result.outcome = OrderOutcome::ALL_ZERO;
        return result;
    }
    result.error_index = q;
    result.order = q - m;
    fmpz_mul(denominator.get(), denominator.get(), common.get());
    fmpq_set_fmpz_frac(result.error_coefficient.get(), numerator.get(), denominator.get());

    Fmpz b_sum;
    for (long j = 0; j < n; ++j) {
        fmpz_add(b_sum.get(), b_sum.get(), b + j);
    }
    if (fmpz_is_zero(b_sum.get())) {
        result.outcome = OrderOutcome::NO_ERROR_CONSTANT;
        return result;
    }
    // C_q / (sum b / D) = C_q D / sum b.
    Rational scale;
    fmpq_set_fmpz_frac(scale.get(), common.get(), b_sum.get());
    fmpq_mul(result.error_constant.get(), result.error_coefficient.get(), scale.get());
    result.error_constant_decimal = nearest_double(result.error_constant);
    result.outcome = OrderOutcome::FOUND;
    return result;
}

MethodOrder method_order(int k, int m, bool cyclic, std::span<const ExactOrder> orders,
                         std::span<const Coefficients> algorithms) {
    MethodOrder result;
    for (const ExactOrder& order : orders) {
        if (order.outcome != OrderOutcome::FOUND) {
            return result;
        }
        if (result.error_index < 0 || order.error_index < result.error_index) {
            result.error_index = order.error_index;
        }
    }
    if (orders.empty()) {
        return result;
    }
    result.computable = true;
    const std::int64_t q = result.error_index;
    result.order = q - m;
    if (!cyclic || m != 1 || q - m <= 0 || k < 1) {
        return result;
    }

    // The augmented matrix: one unknown per position of the cycle, tie rows
    // making unknown i equal unknown i + c when k > c, and one row per
    // algorithm with its A coefficients laid over the cycle; its right-hand
    // value is the algorithm's C_q at the method's q (0 for an algorithm of
    // a higher q). The order is one higher when the rank is d - 1.
    const long c = static_cast<long>(algorithms.size());
    const long d = std::max<long>(k, c);
    if (d > MAX_RAISE_DIMENSION) {
        result.raise_refused = true;
        return result;
    }
    const long t = d - c;
    const long u = d - k;
    FmpqMatrix matrix(d, d + 1);
    for (long i = 0; i < t; ++i) {
        fmpq_one(matrix.at(i, i));
        fmpq_set_si(matrix.at(i, i + c), -1, 1);
    }
    for (long a = 0; a < c; ++a) {
        const ExactOrder& order = orders[index(a)];
        if (order.error_index == q) {
            fmpq_set(matrix.at(t + a, d), order.error_coefficient.get());
        }
        const Coefficients& set = algorithms[index(a)];
        const long i = t + a;
        for (long j = 0; j < d; ++j) {
            if (j <= i && k - i + j >= 0) {
                fmpq_set(matrix.at(i, j), set[index(k - i + j)].get());
            }
            if (j >= i && k - i + j - t >= d) {
                fmpq_add(matrix.at(i, j), matrix.at(i, j), set[index(j - i - u + t)].get());
            }
        }
    }
    result.raise_computed = true;
    result.dimension = static_cast<int>(d);
    // Each row times the least common denominator of its entries: the same
    // rank, found by FLINT's fraction-free elimination over the integers.
    FmpzMatrix integer(d, d + 1);
    FmpzVector row_denominators(d);
    fmpq_mat_get_fmpz_mat_rowwise(integer.get(), row_denominators.get(), matrix.get());
    result.rank = static_cast<int>(fmpz_mat_rank(integer.get()));
    result.raised = result.rank == d - 1;
    if (result.raised) {
        result.order += 1;
    }
    return result;
}

} // namespace ordimet::analyse

// Periodicity on y'' = -omega^2 y: the intervals of periodicity and of
// absolute stability from the scan over x = H^2 > 0, and the phase lag from
// the series of the principal root: with zeta = e^u, H^2 = -rho(e^u) /
// sigma(e^u) = -u^2 g(u), and the series of u sqrt(g(u)) = iH is reverted
// exactly in rational arithmetic (docs/analyse-math.md).

#include "analyse/exact/numbers.hpp"
#include "analyse/linear/linear_stability.hpp"
#include "analyse/linear/region_scan.hpp"

#include <algorithm>

namespace ordimet::analyse {

namespace {

// The phase lag from the series up to u^(terms - 1) (see phase_lag): the
// first odd n >= 3 below `terms` with e_n != 0; false if none.
bool phase_lag_terms(std::span<const Rational> rho, std::span<const Rational> sigma, slong terms,
                     Periodicity& out) {
    FmpqPoly rho_series;
    FmpqPoly sigma_series;
    Rational moment;
    Rational power;
    Fmpz factorial;
    for (slong n = 0; n <= terms + 1; ++n) {
        fmpz_fac_ui(factorial.get(), static_cast<ulong>(n));
        for (int pass = 0; pass < 2; ++pass) {
            const std::span<const Rational> values = pass == 0 ? rho : sigma;
            if (pass == 0 ? n < 2 : n >= terms) {
                continue;
            }
            fmpq_zero(moment.get());
            for (std::size_t j = 0; j < values.size(); ++j) {
                fmpz_set_ui(fmpq_numref(power.get()), j);
                fmpz_pow_ui(fmpq_numref(power.get()), fmpq_numref(power.get()),
                            static_cast<ulong>(n));
                fmpz_one(fmpq_denref(power.get()));
                fmpq_addmul(moment.get(), power.get(), values[j].get());
            }
            fmpq_div_fmpz(moment.get(), moment.get(), factorial.get());
            fmpq_poly_set_coeff_fmpq(pass == 0 ? rho_series.get() : sigma_series.get(),
                                     pass == 0 ? n - 2 : n, moment.get());
        }
    }
    FmpqPoly g;
    fmpq_poly_div_series(g.get(), rho_series.get(), sigma_series.get(), terms);
    FmpqPoly w;
    fmpq_poly_sqrt_series(w.get(), g.get(), terms);
    fmpq_poly_shift_left(w.get(), w.get(), 1);
    fmpq_poly_truncate(w.get(), terms);
    FmpqPoly reverted;
    fmpq_poly_revert_series(reverted.get(), w.get(), terms);
    Rational e;
    for (slong n = 3; n < terms; n += 2) {
        fmpq_poly_get_coeff_fmpq(e.get(), reverted.get(), n);
        if (!e.is_zero()) {
            if ((n - 1) / 2 % 2 == 1) {
                fmpq_neg(e.get(), e.get());
            }
            out.phase_lag_known = true;
            out.phase_lag_order = static_cast<int>(n - 1);
            out.phase_lag_constant = e;
            out.phase_lag_decimal = nearest_double(e);
            return true;
        }
    }
    return false;
}

} // namespace

// With zeta = e^u, u = i theta: rho(e^u) = sum a_n u^n / n!, a_n = sum j^n A[j],
// likewise sigma. H^2 = -rho / sigma = -u^2 g(u), g(0) = 1 for a consistent
// method; w = u sqrt(g(u)) = +-iH, and u = w^-1(iH) = sum e_n (iH)^n, so
// theta = sum e_n i^(n-1) H^n and Re theta - H = sum over odd n >= 3 of
// (-1)^((n-1)/2) e_n H^n. The series are taken short first: the order is
// about 2k at most for the methods in use, and the cost grows fast with
// the length.
void phase_lag(std::span<const Rational> rho, std::span<const Rational> sigma, Periodicity& out) {
    for (slong terms = 8;; terms *= 2) {
        const slong capped = std::min<slong>(terms, MAX_PHASE_LAG_ORDER + 2);
        if (phase_lag_terms(rho, sigma, capped, out) || capped == MAX_PHASE_LAG_ORDER + 2) {
            return;
        }
    }
}

namespace {

// The sums a_0, a_1, a_2 of j^n A[j] and b_0 of B[j].
struct Moments {
    Rational a0;
    Rational a1;
    Rational a2;
    Rational b0;
};

Moments moments(std::span<const Rational> rho, std::span<const Rational> sigma) {
    Moments result;
    Rational term;
    for (std::size_t j = 0; j < rho.size(); ++j) {
        const long jj = static_cast<long>(j);
        fmpq_add(result.a0.get(), result.a0.get(), rho[j].get());
        fmpq_mul_si(term.get(), rho[j].get(), jj);
        fmpq_add(result.a1.get(), result.a1.get(), term.get());
        fmpq_mul_si(term.get(), rho[j].get(), jj * jj);
        fmpq_add(result.a2.get(), result.a2.get(), term.get());
    }
    for (const Rational& value : sigma) {
        fmpq_add(result.b0.get(), result.b0.get(), value.get());
    }
    return result;
}

} // namespace

Periodicity periodicity(std::span<const Rational> rho, std::span<const Rational> sigma) {
    Periodicity result;
    // The principal roots are the two that leave the double root 1 of rho
    // as H grows: rho(1) = rho'(1) = 0, rho''(1) != 0 and sigma(1) != 0.
    // A method written with rounded decimals may miss consistency
    // (rho''(1) = 2 sigma(1)) by a little and still have them; its intervals
    // are reported, its phase lag (of order 0) is not.
    const Moments sums = moments(rho, sigma);
    if (!sums.a0.is_zero() || !sums.a1.is_zero() || sums.a2.is_zero() || sums.b0.is_zero()) {
        return result;
    }
    result.status = RegionStatus::REFUSED;
    Scan scan;
    if (!within_limits(rho, sigma) || !find_breakpoints(rho, sigma, scan)) {
        return result;
    }
    bool decided = true;
    std::vector<Configuration> gaps(scan.breakpoints.size() + 1);
    if (scan.principal_self_reciprocal) {
        result.periodicity = property_interval(scan, rho, sigma, Property::CLOSED, gaps, decided);
    }
    result.absolute = property_interval(scan, rho, sigma, Property::INSIDE, gaps, decided);
    if (!decided) {
        return result;
    }
    result.status = RegionStatus::DECIDED;
    result.p_stable = result.periodicity.kind == IntervalEnd::Kind::INFINITE;
    Rational twice;
    fmpq_mul_si(twice.get(), sums.b0.get(), 2);
    result.phase_lag_consistent = twice == sums.a2;
    if (result.phase_lag_consistent) {
        phase_lag(rho, sigma, result);
    }
    return result;
}

} // namespace ordimet::analyse

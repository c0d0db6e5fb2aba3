// The linear stability analyses on cases the example methods don't reach:
// irrational interval ends, factors common to rho and sigma (fixed roots on
// or inside the circle, a repeated one), sigma = 0, the limits, and m = 2
// methods without principal roots or consistency. Every example method is
// compared with an independent reference end to end (region_reference.py).

#include "analyse/linear/linear_stability.hpp"
#include "analyse/linear/ssp.hpp"

#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace ordimet::analyse {
namespace {

std::vector<Rational> fractions(const std::string& text) {
    std::istringstream in(text);
    std::vector<Rational> values;
    std::string word;
    while (in >> word) {
        Rational& value = values.emplace_back();
        EXPECT_EQ(fmpq_set_str(value.get(), word.c_str(), 10), 0) << word;
        fmpq_canonicalise(value.get());
    }
    return values;
}

std::string end_text(const IntervalEnd& end) {
    if (end.kind != IntervalEnd::Kind::FINITE) {
        return end.kind == IntervalEnd::Kind::NONE ? "none" : "inf";
    }
    char text[40];
    std::snprintf(text, sizeof text, "%.6g", end.value);
    return end.exact.empty() ? text : end.exact;
}

const char* status_text(RegionStatus status) {
    return status == RegionStatus::DECIDED          ? ""
           : status == RegionStatus::NOT_APPLICABLE ? "not applicable"
                                                    : "refused";
}

// The results in one line, as the rows below expect them.
std::string summary(int m, const std::vector<Rational>& rho, const std::vector<Rational>& sigma) {
    char text[160];
    if (m == 1) {
        const AbsoluteStability r = absolute_stability(rho, sigma);
        if (r.status != RegionStatus::DECIDED) {
            return status_text(r.status);
        }
        std::snprintf(text, sizeof text, "a=%s A=%s alpha=%.2f", end_text(r.real_interval).c_str(),
                      r.a_stable ? "yes" : "no", r.alpha_degrees);
        return text;
    }
    const Periodicity r = periodicity(rho, sigma);
    if (r.status != RegionStatus::DECIDED) {
        return status_text(r.status);
    }
    std::snprintf(
        text, sizeof text, "Hp=%s Ha=%s P=%s lag=%s", end_text(r.periodicity).c_str(),
        end_text(r.absolute).c_str(), r.p_stable ? "yes" : "no",
        r.phase_lag_known
            ? (std::to_string(r.phase_lag_order) + ":" + r.phase_lag_constant.text()).c_str()
            : "-");
    return text;
}

struct Case {
    const char* name;
    int m;
    const char* rho;
    const char* sigma;
    const char* expected;
};

const Case CASES[] = {
    // A complex pair crosses the circle at an irrational x (checked by a
    // numerical scan: the first root outside is near x = 1.0931).
    {"irrational end", 1, "-1/4 5/4 -2 1", "-1/2 1/4 1/2 0", "a=1.09307 A=no alpha=0.00"},
    // BDF 6 with 10-decimal coefficients times (z + 1/2)^2: a repeated
    // factor inside the circle leaves the region alone, and sends the one
    // breakpoint, irrational and inside the interval, through the exact gcd
    // over a number field.
    {"repeated common factor", 1,
     "680272109/40000000000 -544217687/10000000000 -1564625851/40000000000 "
     "7210884353/20000000000 -8503401361/20000000000 -5442176871/20000000000 "
     "431122449/500000000 -7244897959/5000000000 1",
     "0 0 0 0 0 0 4081632653/40000000000 4081632653/10000000000 4081632653/10000000000",
     "a=inf A=no alpha=17.84"},
    // BDF 3 with rho and sigma times two quadratics whose roots near the
    // circle almost cancel: the locus dips into the BDF 3 wedge over 2e-4
    // radians of theta, too narrow for any sampling, to 82.12 degrees (a
    // point at 84 degrees has a root of modulus 1.0001).
    {"narrow dip of the locus", 1,
     "-24990001/137500000 1002407863323/896675000000 -31245421002481/9863425000000 "
     "44566307858287/9863425000000 -51869064993/15781480000 1",
     "0 0 0 74970003/137500000 -9914981607/11014520000 6/11", "a=inf A=no alpha=82.12"},
    // The trapezoidal rule times z^2 + 1: the fixed simple roots +-i on the
    // circle stay allowed.
    {"fixed roots on the circle", 1, "-1 1 -1 1", "1/2 1/2 1/2 1/2", "a=inf A=yes alpha=90.00"},
    // ...but fixed double roots there exclude every z.
    {"fixed double roots on the circle", 1, "-1 1 -2 2 -1 1", "1/2 1/2 1 1 1/2 1/2",
     "a=none A=no alpha=0.00"},
    // sigma = 0: pi = rho for every z, and rho's roots are fine.
    {"sigma zero", 1, "-1 1", "0 0", "a=inf A=yes alpha=90.00"},
    {"rho zero", 1, "0 0", "1 0", "not applicable"},
    {"step 17", 1, "-1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0", "1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0",
     "refused"},
    // Numerov with 10-decimal weights: sigma(1) is 1 - 10^-10, so the
    // principal roots exist, but not consistency and so not the phase lag.
    {"inconsistent numerov", 2, "1 -2 1",
     "833333333/10000000000 8333333333/10000000000 833333333/10000000000",
     "Hp=40000000000/6666666667 Ha=none P=no lag=-"},
    {"no double root 1", 2, "-1 1", "0 1", "not applicable"},
    {"sigma(1) zero", 2, "1 -2 1", "-1 0 1", "not applicable"},
};

TEST(Region, CasesBeyondTheExamples) {
    for (const Case& c : CASES) {
        EXPECT_EQ(summary(c.m, fractions(c.rho), fractions(c.sigma)), c.expected) << c.name;
    }
    // Euler's method with a 6000-digit denominator: beyond the size limit.
    std::vector<Rational> rho = fractions("-1 1");
    fmpz_set_ui(fmpq_denref(rho[0].get()), 10);
    fmpz_pow_ui(fmpq_denref(rho[0].get()), fmpq_denref(rho[0].get()), 6000);
    EXPECT_EQ(summary(1, rho, fractions("1 0")), "refused");
}

struct SspCase {
    const char* name;
    const char* rho;
    const char* sigma;
    const char* expected; // "none" for no value
};

// Threshold factors of the literature: forward Euler 1, the trapezoidal
// rule 2, the optimal explicit second-order methods of 3 and 4 steps 1/2
// and 2/3; negative weights give 0.
const SspCase SSP_CASES[] = {
    {"forward Euler", "-1 1", "1 0", "1"},
    {"forward Euler, rho times -2", "2 -2", "-2 0", "1"},
    {"trapezoidal rule", "-1 1", "1/2 1/2", "2"},
    {"3 steps, order 2", "-1/4 0 -3/4 1", "0 0 3/2 0", "1/2"},
    {"4 steps, order 2", "-1/9 0 0 -8/9 1", "0 0 0 4/3 0", "2/3"},
    {"Adams-Bashforth 2: a negative beta", "0 -1 1", "-1/2 3/2 0", "0"},
    {"leapfrog: a negative alpha", "-1 0 1", "0 2 0", "0"},
    {"implicit with a negative beta_k", "-1 1", "2 -1", "0"},
    {"backward Euler: unbounded", "-1 1", "0 1", "none"},
    {"rho zero", "0 0", "1 0", "none"},
    {"sigma above rho's degree", "-1 1 0", "0 0 1", "none"},
};

TEST(Ssp, ThresholdFactors) {
    for (const SspCase& c : SSP_CASES) {
        const std::optional<Rational> value = ssp_coefficient(fractions(c.rho), fractions(c.sigma));
        EXPECT_EQ(value ? value->text() : "none", c.expected) << c.name;
    }
}

} // namespace
} // namespace ordimet::analyse

// Exact orders, error constants, root conditions and cycles checked against
// values derived independently: the Adams error constants of the textbooks,
// the BDF error constant -1/(k+1), roots known in closed form.

#include "analyse/cycle/cycle.hpp"
#include "analyse/exact/numbers.hpp"
#include "analyse/order/order.hpp"
#include "analyse/roots/roots.hpp"

#include <acb.h>
#include <arb.h>
#include <arb_fmpz_poly.h>
#include <climits>
#include <cmath>
#include <flint/fmpz_poly_factor.h>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace ordimet::analyse {
namespace {

Rational fraction(const std::string& text) {
    Rational value;
    EXPECT_EQ(fmpq_set_str(value.get(), text.c_str(), 10), 0) << text;
    fmpq_canonicalise(value.get());
    return value;
}

std::vector<Rational> fractions(const std::string& text) {
    std::istringstream in(text);
    std::vector<Rational> values;
    std::string word;
    while (in >> word) {
        values.push_back(fraction(word));
    }
    return values;
}

// A[0..k] and B[0..k] from two lists of fractions.
Coefficients algorithm(const std::string& a, const std::string& b) {
    Coefficients set = fractions(a);
    for (Rational& value : fractions(b)) {
        set.push_back(value);
    }
    return set;
}

Coefficients read_method_file(const std::string& name, int& k, int& m) {
    std::ifstream in(std::string(ANALYSE_TEST_DATA) + "/" + name);
    std::stringstream text;
    text << in.rdbuf();
    std::istringstream words(text.str());
    words >> k >> m;
    Coefficients set;
    std::string word;
    while (words >> word) {
        set.push_back(fraction(word));
    }
    EXPECT_EQ(set.size(), 2 * static_cast<std::size_t>(k) + 2) << name;
    return set;
}

struct OrderCase {
    const char* name;
    int k;
    int m;
    const char* a;
    const char* b;
    std::int64_t q;
    const char* error_coefficient;
    const char* error_constant; // nullptr: B sums to 0
};

const OrderCase ORDER_CASES[] = {
    {"Adams-Bashforth 1", 1, 1, "-1 1", "1 0", 2, "1/2", "1/2"},
    {"Adams-Bashforth 2", 2, 1, "0 -1 1", "-1/2 3/2 0", 3, "5/12", "5/12"},
    {"Adams-Bashforth 3", 3, 1, "0 0 -1 1", "5/12 -16/12 23/12 0", 4, "3/8", "3/8"},
    {"Adams-Bashforth 4", 4, 1, "0 0 0 -1 1", "-9/24 37/24 -59/24 55/24 0", 5, "251/720",
     "251/720"},
    {"Adams-Bashforth 5", 5, 1, "0 0 0 0 -1 1", "251/720 -1274/720 2616/720 -2774/720 1901/720 0",
     6, "95/288", "95/288"},
    {"Adams-Bashforth 6", 6, 1, "0 0 0 0 0 -1 1",
     "-475/1440 2877/1440 -7298/1440 9982/1440 -7923/1440 4277/1440 0", 7, "19087/60480",
     "19087/60480"},
    {"Adams-Moulton 1 (backward Euler)", 1, 1, "-1 1", "0 1", 2, "-1/2", "-1/2"},
    {"Adams-Moulton 2 (trapezoidal)", 1, 1, "-1 1", "1/2 1/2", 3, "-1/12", "-1/12"},
    {"Adams-Moulton 3", 2, 1, "0 -1 1", "-1/12 8/12 5/12", 4, "-1/24", "-1/24"},
    {"Adams-Moulton 4", 3, 1, "0 0 -1 1", "1/24 -5/24 19/24 9/24", 5, "-19/720", "-19/720"},
    {"Adams-Moulton 5", 4, 1, "0 0 0 -1 1", "-19/720 106/720 -264/720 646/720 251/720", 6, "-3/160",
     "-3/160"},
    {"Adams-Moulton 6", 5, 1, "0 0 0 0 -1 1",
     "27/1440 -173/1440 482/1440 -798/1440 1427/1440 475/1440", 7, "-863/60480", "-863/60480"},
    // BDF with A[k] = 1: C_q = -B[k] / (k + 1), error constant -1/(k + 1).
    {"BDF 1", 1, 1, "-1 1", "0 1", 2, "-1/2", "-1/2"},
    {"BDF 2", 2, 1, "1/3 -4/3 1", "0 0 2/3", 3, "-2/9", "-1/3"},
    {"BDF 3", 3, 1, "-2/11 9/11 -18/11 1", "0 0 0 6/11", 4, "-3/22", "-1/4"},
    {"BDF 4", 4, 1, "3/25 -16/25 36/25 -48/25 1", "0 0 0 0 12/25", 5, "-12/125", "-1/5"},
    {"BDF 5", 5, 1, "-12/137 75/137 -200/137 300/137 -300/137 1", "0 0 0 0 0 60/137", 6, "-10/137",
     "-1/6"},
    {"BDF 6", 6, 1, "10/147 -72/147 225/147 -400/147 450/147 -360/147 1", "0 0 0 0 0 0 60/147", 7,
     "-20/343", "-1/7"},
    {"Numerov", 2, 2, "1 -2 1", "1/12 10/12 1/12", 6, "-1/240", "-1/240"},
    {"Stormer", 2, 2, "1 -2 1", "0 1 0", 4, "1/12", "1/12"},
    {"Milne-Simpson", 2, 1, "-1 0 1", "1/3 4/3 1/3", 5, "-1/90", "-1/180"},
    // Scaling every coefficient changes C_q, not the error constant.
    {"Adams-Bashforth 2 doubled", 2, 1, "0 -2 2", "-1 3 0", 3, "5/6", "5/12"},
    // Inconsistent and degenerate sets.
    {"C_1 not zero", 1, 1, "-1 1", "1/2 0", 1, "1/2", "1"},
    {"C_0 not zero", 1, 1, "-1 2", "1 0", 0, "1", "1"},
    {"q below m", 1, 2, "-1 1", "0 1/2", 1, "1", "2"},
    {"step reduced to 0", 0, 1, "1", "1", 0, "1", "1"},
    {"B sums to 0", 1, 1, "-1 1", "1 -1", 1, "1", nullptr},
    {"all B zero", 1, 1, "-1 1", "0 0", 1, "1", nullptr},
    {"tiny coefficients are not zero", 1, 1, "0 8/10000000", "8/10000000 0", 0, "1/1250000", "1"},
    // A = 0: only B counts, q = m + (first r with sum j^r B[j] != 0).
    {"A zero", 2, 3, "0 0 0", "1 -2 1", 5, "-1", "none"},
};

TEST(ExactOrder, OrdersAndErrorConstantsAsFractions) {
    for (const OrderCase& c : ORDER_CASES) {
        const Coefficients set = algorithm(c.a, c.b);
        const ExactOrder order = exact_order(c.k, c.m, set);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(order.error_index, c.q);
        EXPECT_EQ(order.order, c.q - c.m);
        EXPECT_LE(order.error_index, order.bound);
        EXPECT_EQ(order.error_coefficient.text(), c.error_coefficient);
        if (c.error_constant == nullptr || std::string(c.error_constant) == "none") {
            EXPECT_EQ(order.outcome, OrderOutcome::NO_ERROR_CONSTANT);
        } else {
            EXPECT_EQ(order.outcome, OrderOutcome::FOUND);
            EXPECT_EQ(order.error_constant.text(), c.error_constant);
            // Numerator and denominator are doubles here, so their IEEE
            // quotient is the nearest double.
            const fmpq* exact = order.error_constant.get();
            EXPECT_EQ(order.error_constant_decimal,
                      fmpz_get_d(fmpq_numref(exact)) / fmpz_get_d(fmpq_denref(exact)));
        }
    }
}

TEST(ExactOrder, OutcomesBeyondTheOrdinaryCases) {
    // Every coefficient 0: nothing computable.
    EXPECT_EQ(exact_order(2, 1, algorithm("0 0 0", "0 0 0")).outcome, OrderOutcome::ALL_ZERO);
    // Implicit follows B[k] alone.
    EXPECT_FALSE(exact_order(1, 1, algorithm("-1 1", "5 0")).implicit);
    EXPECT_TRUE(exact_order(1, 1, algorithm("-1 1", "0 1")).implicit);
    // The largest m: A = 0 except the scan jumps from k to m at once.
    const ExactOrder huge = exact_order(1, INT_MAX, algorithm("0 0", "0 3"));
    EXPECT_EQ(huge.error_index, std::int64_t{INT_MAX});
    EXPECT_EQ(huge.error_coefficient.text(), "-3");
    const ExactOrder huge_shifted = exact_order(2, INT_MAX, algorithm("0 0 0", "1 -2 1"));
    EXPECT_EQ(huge_shifted.error_index, std::int64_t{INT_MAX} + 2);
    EXPECT_EQ(huge_shifted.error_coefficient.text(), "-1");
    // With A != 0 and m > k the order comes from A alone.
    EXPECT_EQ(exact_order(1, INT_MAX, algorithm("-1 1", "0 1")).error_index, 1);
    // Beyond the step limit nothing is computed.
    const Coefficients wide(2 * (MAX_EXACT_STEP + 1) + 2, Rational(1, 1));
    EXPECT_EQ(exact_order(MAX_EXACT_STEP + 1, 1, wide).outcome, OrderOutcome::REFUSED);
    // And beyond the size limit: 8 coefficients over unrelated denominators
    // of 200000 digits each.
    Coefficients huge_numbers;
    for (unsigned long j = 0; j < 8; ++j) {
        Rational value;
        fmpz_set_ui(fmpq_denref(value.get()), 10);
        fmpz_pow_ui(fmpq_denref(value.get()), fmpq_denref(value.get()), 200000);
        fmpz_add_ui(fmpq_denref(value.get()), fmpq_denref(value.get()), 2 * j + 1);
        fmpz_one(fmpq_numref(value.get()));
        huge_numbers.push_back(value);
    }
    EXPECT_EQ(exact_order(3, 1, huge_numbers).outcome, OrderOutcome::REFUSED);
    EXPECT_TRUE(characteristic_polynomials(3, huge_numbers).refused);
    EXPECT_EQ(characteristic_polynomials(3, huge_numbers).rho.size(), 4u);
    EXPECT_EQ(root_condition(3, 1, std::span(huge_numbers).first(4)).status, RootStatus::REFUSED);
    const Coefficients huge_cycle[] = {huge_numbers, huge_numbers};
    EXPECT_EQ(cycle_stability(3, huge_cycle).status, CycleStatus::REFUSED);
}

TEST(ExactOrder, NearestDouble) {
    EXPECT_EQ(nearest_double(fraction("1/3")), 1.0 / 3.0);
    EXPECT_EQ(nearest_double(fraction("-251/720")), -251.0 / 720.0);
    // Halfway between two doubles: ties to even.
    EXPECT_EQ(nearest_double(fraction("9007199254740993")), 9007199254740992.0);
}

TEST(StepReduction, LeadingColumnsZeroInEveryAlgorithm) {
    const Coefficients padded = algorithm("0 0 -1 1", "0 -1/2 3/2 0");
    const Coefficients other = algorithm("0 1 -2 1", "0 0 1 0");
    const Coefficients both[] = {padded, other};
    EXPECT_EQ(leading_zero_columns(3, both), 1);
    const Coefficients reduced = drop_leading_columns(3, 1, padded);
    EXPECT_EQ(reduced.size(), 6u);
    EXPECT_EQ(reduced[0].text(), "0");
    EXPECT_EQ(reduced[3].text(), "-1/2");
    const Coefficients zero = algorithm("0 0", "0 0");
    const Coefficients only_zero[] = {zero};
    EXPECT_EQ(leading_zero_columns(1, only_zero), 1);
}

int count(const RootCondition& r, Location location) {
    int total = 0;
    for (const Root& root : r.roots) {
        total += root.location == location ? root.multiplicity : 0;
    }
    return total;
}

struct RootCase {
    const char* name;
    int k;
    int m;
    const char* rho; // A[0..k]
    bool zero_stable;
    bool strongly_stable;
    int inside, on, outside; // roots counted with multiplicity
    // Zero-stable without the root 1 of multiplicity m and nothing else on
    // the circle: neither strongly nor weakly stable.
    bool neither = false;
};

const RootCase ROOT_CASES[] = {
    {"Adams", 4, 1, "0 0 0 -1 1", true, true, 3, 1, 0},
    {"BDF 1", 1, 1, "-1 1", true, true, 0, 1, 0},
    {"BDF 2", 2, 1, "1/3 -4/3 1", true, true, 1, 1, 0},
    {"BDF 3", 3, 1, "-2/11 9/11 -18/11 1", true, true, 2, 1, 0},
    {"BDF 4", 4, 1, "3/25 -16/25 36/25 -48/25 1", true, true, 3, 1, 0},
    {"BDF 5", 5, 1, "-12/137 75/137 -200/137 300/137 -300/137 1", true, true, 4, 1, 0},
    {"BDF 6", 6, 1, "10/147 -72/147 225/147 -400/147 450/147 -360/147 1", true, true, 5, 1, 0},
    {"BDF 7", 7, 1, "-1/7 7/6 -21/5 35/4 -35/3 21/2 -7 363/140", false, false, 4, 1, 2},
    {"Milne-Simpson", 2, 1, "-1 0 1", true, false, 0, 2, 0},
    {"double root 1 for m = 1", 2, 1, "1 -2 1", false, false, 0, 2, 0},
    {"Stormer, double root 1 for m = 2", 2, 2, "1 -2 1", true, true, 0, 2, 0},
    {"triple root 1 for m = 2", 3, 2, "-1 3 -3 1", false, false, 0, 3, 0},
    {"explicit two-step of order 3", 2, 1, "-5 4 1", false, false, 0, 1, 1},
    {"z^4 - 1, weakly stable", 4, 1, "-1 0 0 0 1", true, false, 0, 4, 0},
    {"(z-1)(z^2+1)^2 for m = 1", 5, 1, "-1 1 -2 2 -1 1", false, false, 0, 5, 0},
    {"(z-1)(z^2+1)^2 for m = 2", 5, 2, "-1 1 -2 2 -1 1", true, false, 0, 5, 0},
    // (z - 1)(z - 1/2)(z^2 + 1): a pair on the circle beside a real root.
    {"pair on the circle", 4, 1, "1/2 -3/2 3/2 -3/2 1", true, false, 1, 3, 0},
    // (z - 1)(z^4 - z^3 - z^2 - z + 1): a Salem polynomial, two roots on the
    // circle and a reciprocal pair off it.
    {"Salem factor", 5, 1, "-1 2 0 0 -2 1", false, false, 1, 3, 1},
    // Roots 1 -+ 10^-20 beside the root 1: doubles can't tell them from 1.
    {"root just inside", 2, 1,
     "99999999999999999999/100000000000000000000 -199999999999999999999/100000000000000000000 1",
     true, true, 1, 1, 0},
    {"root just outside", 2, 1,
     "100000000000000000001/100000000000000000000 -200000000000000000001/100000000000000000000 1",
     false, false, 0, 1, 1},
    // No root 1: zero-stable, neither strongly nor weakly stable.
    // (z - 1/2)(z^2 + 1 - 10^-30): a complex pair just inside the circle.
    {"pair just inside", 3, 1,
     "-999999999999999999999999999999/2000000000000000000000000000000 "
     "999999999999999999999999999999/1000000000000000000000000000000 -1/2 1",
     true, false, 3, 0, 0, true},
    {"pair just outside", 3, 1,
     "-1000000000000000000000000000001/2000000000000000000000000000000 "
     "1000000000000000000000000000001/1000000000000000000000000000000 -1/2 1",
     false, false, 1, 0, 2},
    // rho of degree below k: A[k] = 0.
    {"degree below the step", 2, 1, "-1 1 0", true, true, 0, 1, 0},
    {"every root inside, no root 1", 1, 1, "-1/2 1", true, false, 1, 0, 0, true},
    {"A[k] = 0 and rho = -z", 2, 1, "0 -1 0", true, false, 1, 0, 0, true},
    {"rho constant", 2, 1, "1 0 0", true, false, 0, 0, 0, true},
    {"simple root 1 for m = 2", 1, 2, "-1 1", true, false, 0, 1, 0, true},
    {"simple root 1 and -1 for m = 2", 2, 2, "-1 0 1", true, false, 0, 2, 0},
};

TEST(RootCondition, CertifiedLocations) {
    for (const RootCase& c : ROOT_CASES) {
        SCOPED_TRACE(c.name);
        const std::vector<Rational> rho = fractions(c.rho);
        const RootCondition r = root_condition(c.k, c.m, rho);
        EXPECT_EQ(r.status, RootStatus::DECIDED);
        EXPECT_EQ(r.zero_stable, c.zero_stable);
        EXPECT_EQ(r.strongly_stable, c.strongly_stable);
        EXPECT_EQ(r.weakly_stable, c.zero_stable && !c.strongly_stable && !c.neither);
        EXPECT_EQ(count(r, Location::INSIDE), c.inside);
        EXPECT_EQ(count(r, Location::ON), c.on);
        EXPECT_EQ(count(r, Location::OUTSIDE), c.outside);
    }
}

// The locations against Arb's isolation at 300 bits, for random integer
// polynomials of degree 2 to 10 with small and large coefficients: most go
// through the double guesses and their rounding bounds, which this checks.
TEST(RootCondition, AgreesWithHighPrecisionIsolation) {
    std::mt19937 random(42);
    for (int trial = 0; trial < 600; ++trial) {
        const int n = 2 + trial % 9;
        const int range = trial % 3 == 0 ? 3 : trial % 3 == 1 ? 30 : 1000;
        std::uniform_int_distribution<int> value(-range, range);
        std::vector<Rational> rho(static_cast<std::size_t>(n) + 1);
        fmpz_poly_t poly;
        fmpz_poly_init(poly);
        for (int j = 0; j <= n; ++j) {
            int v = value(random);
            v = j == n && v == 0 ? 1 : v;
            rho[static_cast<std::size_t>(j)] = Rational(v, 1);
            fmpz_poly_set_coeff_si(poly, j, v);
        }
        const RootCondition r = root_condition(n, 1, rho);
        int found[3] = {0, 0, 0};
        for (const Root& root : r.roots) {
            found[static_cast<int>(root.location)] += root.multiplicity;
        }
        int expected[3] = {0, 0, 0};
        fmpz_poly_factor_t parts;
        fmpz_poly_factor_init(parts);
        fmpz_poly_factor_squarefree(parts, poly);
        for (long i = 0; i < parts->num; ++i) {
            const long degree = fmpz_poly_degree(parts->p + i);
            acb_ptr roots = _acb_vec_init(degree);
            arb_fmpz_poly_complex_roots(roots, parts->p + i, 0, 300);
            for (long j = 0; j < degree; ++j) {
                arb_t distance;
                arb_init(distance);
                acb_abs(distance, roots + j, 300);
                arb_sub_ui(distance, distance, 1, 300);
                // Roots on the circle are those Arb can't tell from it.
                const int location = arb_is_negative(distance)   ? 0
                                     : arb_is_positive(distance) ? 2
                                                                 : 1;
                expected[location] += static_cast<int>(parts->exp[i]);
                arb_clear(distance);
            }
            _acb_vec_clear(roots, degree);
        }
        fmpz_poly_factor_clear(parts);
        fmpz_poly_clear(poly);
        ASSERT_EQ(r.status, RootStatus::DECIDED) << trial;
        EXPECT_EQ(found[0], expected[0]) << trial;
        EXPECT_EQ(found[1], expected[1]) << trial;
        EXPECT_EQ(found[2], expected[2]) << trial;
    }
}

// Roots too close together for the bounded isolation are refused (the time
// this takes is in the benchmark); close ones within it are decided. "c(e)" is (z - 1 - e)(z - 1 +
// e)(z + 1/2).
TEST(RootCondition, BoundedIsolationDecidesOrRefusesQuickly) {
    // With e = 10^-x: (1 - e^2)/2, -e^2, -3/2, 1.
    const auto close_pair = [](int x) {
        const std::string zeros(static_cast<std::size_t>(2 * x), '0');
        return std::string(zeros.size(), '9') + "/2" + zeros + " -1/1" + zeros + " -3/2 1";
    };
    struct Case {
        const char* name;
        int k;
        std::string rho;
        RootStatus status;
        int outside;
    };
    std::string mignotte = "-2 4000000000 -2000000000000000000";
    for (int j = 3; j < 40; ++j) {
        mignotte += " 0";
    }
    mignotte += " 1";
    const Case cases[] = {
        {"c(1e-60)", 3, close_pair(60), RootStatus::DECIDED, 1},
        {"c(1e-300)", 3, close_pair(300), RootStatus::REFUSED, 0},
        // z^40 - 2e18 z^2 + 4e9 z - 2: two roots near 1e-9, 1e-189 apart.
        {"cluster at k = 40", 40, mignotte, RootStatus::REFUSED, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RootCondition r = root_condition(c.k, 1, fractions(c.rho));
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(count(r, Location::OUTSIDE), c.outside);
    }
}

TEST(RootCondition, RootValuesAndOrder) {
    // A degree-7 polynomial with every root inside, through the enclosures.
    const RootCondition bdf7 =
        root_condition(7, 1, fractions("-1/7 7/6 -21/5 35/4 -35/3 21/2 -7 363/140"));
    ASSERT_EQ(bdf7.roots.size(), 7u);
    // Its pairs: one half the conjugate of the other, the upper one first.
    for (std::size_t i = 0; i + 1 < bdf7.roots.size(); ++i) {
        if (bdf7.roots[i].im > 0.0) {
            EXPECT_EQ(bdf7.roots[i + 1].re, bdf7.roots[i].re);
            EXPECT_EQ(bdf7.roots[i + 1].im, -bdf7.roots[i].im);
        }
    }
    // (z - 1 - e)(z - 1 + e)(z + 1/2), e = 10^-60: both show as 1, in
    // ascending order all the same.
    const std::string zeros(120, '0');
    const RootCondition close = root_condition(
        3, 1, fractions(std::string(120, '9') + "/2" + zeros + " -1/1" + zeros + " -3/2 1"));
    ASSERT_EQ(close.roots.size(), 3u);
    EXPECT_EQ(close.roots[1].re, close.roots[2].re);
    EXPECT_EQ(close.roots[1].location, Location::INSIDE);
    EXPECT_EQ(close.roots[2].location, Location::OUTSIDE);

    EXPECT_EQ(root_condition(2, 1, fractions("0 0 0")).status, RootStatus::ZERO_POLYNOMIAL);
    EXPECT_TRUE(root_condition(2, 1, fractions("-1 1 0")).degree_below_step);
    EXPECT_EQ(root_condition(MAX_EXACT_STEP + 1, 1, fractions("-1 1")).status, RootStatus::REFUSED);
}

TEST(CharacteristicPolynomials, SharedFactors) {
    struct Case {
        const char* a;
        const char* b;
        bool reducible;
        const char* common; // monic gcd, lowest coefficient first
    };
    const Case cases[] = {
        {"0 -1 1", "-1/2 3/2 0", false, ""},
        // rho = z (z - 1), sigma = z: the factor z.
        {"0 -1 1", "0 1 0", true, "0 1"},
        // rho = (z - 1)(z + 1), sigma = 2 (z + 1).
        {"-1 0 1", "2 2 0", true, "1 1"},
        // sigma = 0: not called reducible.
        {"-1 1", "0 0", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a + std::string(" / ") + c.b);
        const Coefficients set = algorithm(c.a, c.b);
        const int k = static_cast<int>(set.size() / 2) - 1;
        const CharacteristicPolynomials p = characteristic_polynomials(k, set);
        EXPECT_EQ(p.reducible, c.reducible);
        const std::vector<Rational> common = fractions(c.common);
        EXPECT_EQ(p.common_factor, common);
    }
    const CharacteristicPolynomials trimmed =
        characteristic_polynomials(2, algorithm("-1 1 0", "1 0 0"));
    EXPECT_EQ(trimmed.rho.size(), 2u);
    EXPECT_EQ(trimmed.sigma.size(), 1u);
}

TEST(CycleStability, CyclesAgainstTheirParts) {
    struct Case {
        const char* name;
        std::string files; // data/FILES-1.txt and data/FILES-2.txt
        bool parts_zero_stable;
        bool cycle_zero_stable;
    };
    const Case cases[] = {
        {"unstable parts, stable cycle", "cycle-stable-of-unstable", false, true},
        {"stable parts, unstable cycle", "cycle-unstable-of-stable", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Coefficients> algorithms;
        int k = 0;
        int m = 0;
        for (const std::string& file : {c.files + "-1.txt", c.files + "-2.txt"}) {
            algorithms.push_back(read_method_file(file, k, m));
            const Coefficients& set = algorithms.back();
            EXPECT_GE(exact_order(k, m, set).order, 1) << file;
            const CharacteristicPolynomials p = characteristic_polynomials(k, set);
            EXPECT_EQ(root_condition(k, m, p.rho).zero_stable, c.parts_zero_stable) << file;
        }
        const CycleStability cycle = cycle_stability(k, algorithms);
        EXPECT_EQ(cycle.status, CycleStatus::DECIDED);
        EXPECT_EQ(cycle.zero_stable, c.cycle_zero_stable);
        int total = 0;
        for (const Eigenvalue& e : cycle.eigenvalues) {
            total += e.multiplicity;
        }
        EXPECT_EQ(total, k);
    }
}

TEST(CycleStability, SemisimpleAndDefectiveEigenvalues) {
    // Milne-Simpson twice: M = I on (1, -1) eigenvectors, both semisimple.
    const Coefficients milne = algorithm("-1 0 1", "1/3 4/3 1/3");
    const Coefficients twice[] = {milne, milne};
    const CycleStability stable = cycle_stability(2, twice);
    EXPECT_TRUE(stable.zero_stable);
    ASSERT_EQ(stable.eigenvalues.size(), 1u);
    EXPECT_EQ(stable.eigenvalues[0].multiplicity, 2);
    EXPECT_EQ(stable.eigenvalues[0].minimal_multiplicity, 1);
    // rho = (z - 1)^2 twice: a Jordan block at 1.
    const Coefficients stormer = algorithm("1 -2 1", "0 1 0");
    const Coefficients defective[] = {stormer, stormer};
    const CycleStability unstable = cycle_stability(2, defective);
    EXPECT_FALSE(unstable.zero_stable);
    ASSERT_EQ(unstable.eigenvalues.size(), 1u);
    EXPECT_EQ(unstable.eigenvalues[0].minimal_multiplicity, 2);
    // Euler and backward Euler: M = 1.
    const Coefficients euler[] = {algorithm("-1 1", "1 0"), algorithm("-1 1", "0 1")};
    EXPECT_TRUE(cycle_stability(1, euler).zero_stable);
    // The second algorithm has A[k] = 0: no companion matrix.
    const Coefficients missing[] = {algorithm("-1 1", "1 0"), algorithm("1 0", "1 0")};
    const CycleStability none = cycle_stability(1, missing);
    EXPECT_EQ(none.status, CycleStatus::NO_LEADING_COEFFICIENT);
    EXPECT_EQ(none.missing_algorithm, 1);
}

TEST(MethodOrder, ConsistencyRaiseAsOrdimetDecidesIt) {
    struct Case {
        const char* name;
        int k;
        bool cyclic;
        bool computable;
        std::int64_t order;
        bool raise_computed;
        int rank;
        std::vector<Coefficients> algorithms;
    };
    const Coefficients euler = algorithm("-1 1", "1 0"), backward = algorithm("-1 1", "0 1");
    const Coefficients row_1 = algorithm("-1/2 -1/2 1", "-1/4 7/4 0");
    const Coefficients row_2 = algorithm("-1/2 -1/2 1", "1/2 1/4 3/4");
    const Coefficients ab3 = algorithm("0 0 -1 1", "5/12 -16/12 23/12 0");
    const Coefficients am3 = algorithm("0 0 -1 1", "1/24 -5/24 19/24 9/24");
    const Coefficients half = algorithm("-1 1", "1/2 0"), zero_sum = algorithm("-1 1", "1 -1");
    const Case cases[] = {
        {"Euler then backward Euler", 1, true, true, 2, true, 1, {euler, backward}},
        {"the same as a composite method", 1, false, true, 1, false, 0, {euler, backward}},
        {"two k = 2 algorithms of one matrix row each", 2, true, true, 3, true, 1, {row_1, row_2}},
        {"Adams-Bashforth 3 then Adams-Moulton 3 steps", 3, true, true, 3, true, 3, {ab3, am3}},
        {"an inconsistent method has no raise", 1, true, true, 0, false, 0, {euler, half}},
        // A zero sum of B makes the method order not computable.
        {"B summing to 0", 1, true, false, 0, false, 0, {euler, zero_sum}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<ExactOrder> orders;
        for (const Coefficients& set : c.algorithms) {
            orders.push_back(exact_order(c.k, 1, set));
        }
        const MethodOrder order = method_order(c.k, 1, c.cyclic, orders, c.algorithms);
        EXPECT_EQ(order.computable, c.computable);
        if (c.computable) {
            EXPECT_EQ(order.order, c.order);
        }
        EXPECT_EQ(order.raise_computed, c.raise_computed);
        EXPECT_EQ(order.rank, c.rank);
        EXPECT_EQ(order.raised, c.raise_computed && order.rank == order.dimension - 1);
    }
}

} // namespace
} // namespace ordimet::analyse

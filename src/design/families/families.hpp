#pragma once

// Methods built exactly: the classical families by name, and the method of
// the highest order for a prescribed rho or sigma. Each is the solver of the
// analyses (analyse/order/solve.hpp) with a shape of its own: the given
// coefficients, the free ones and the symmetry they keep.

#include "analyse/order/order.hpp"

#include <span>
#include <string_view>
#include <vector>

namespace ordimet::design {

using analyse::Coefficients;
using analyse::Rational;

enum class Family {
    ADAMS_BASHFORTH, // rho = z^k - z^(k-1), explicit
    ADAMS_MOULTON,   // rho = z^k - z^(k-1), implicit
    BDF,             // sigma = B[k] z^k, A[k] = 1
    NYSTROM,         // rho = z^k - z^(k-2), explicit
    MILNE_SIMPSON,   // rho = z^k - z^(k-2), implicit
    STORMER,         // rho = z^(k-m) (z - 1)^m, explicit
    COWELL,          // rho = z^(k-m) (z - 1)^m, implicit
    SYMMETRIC,       // m = 2, rho given, sigma symmetric
    FROM_RHO,        // rho given, sigma solved
    FROM_SIGMA,      // sigma given, rho solved
};

// The steps and equation orders a family is built for.
struct FamilyRule {
    Family family;
    const char* name; // as on the command line
    int m;            // the equation order, or the default one when any_m
    bool any_m;       // built for every m from 1 to MAX_EQUATION_ORDER
    int least_step;   // the least k; 0: k >= m
    bool even_step;   // k must be even
};

// The largest step built. Left to us: every family of step at most this is
// made well within the goal of 10 ms, with a margin for a slower or busier
// machine (docs/performance.md, bench/design_bench.cpp); the exact work of
// the order conditions grows about as k^4, and beyond it a method is refused
// rather than made slowly.
inline constexpr int MAX_DESIGN_STEP = 32;
// The largest order m of y^(m) = f for the families of any m and the
// prescribed polynomials. Left to us: direct methods are used for equations
// of order up to about 4, so 10 leaves room to experiment, while every
// family up to MAX_DESIGN_STEP stays as fast at m = 10 (docs/performance.md);
// a larger m is refused rather than made without a use.
inline constexpr int MAX_EQUATION_ORDER = 10;

// The rule of the family named `name`, or nullptr. from-rho and from-sigma
// have rules too (name "from-rho", "from-sigma").
const FamilyRule* family_rule(std::string_view name);
const FamilyRule& family_rule(Family family);

// Every family built by name, in the order of the manual page.
std::span<const FamilyRule> named_families();

enum class DesignStatus {
    MADE,                 // a method of order at least 1 with an error constant
    NO_ROOT_ONE,          // rho lacks the root 1 of multiplicity m: no order at all
    NOT_UNIQUE,           // the conditions that can be met leave some coefficient free
    NO_ORDER,             // the method of the highest order is of order 0 or below
    NO_ERROR_CONSTANT,    // ... or its B add up to 0, so it has no error constant
    ZERO_POLYNOMIAL,      // the given polynomial is 0
    RHO_NOT_SYMMETRIC,    // symmetric: A[j] != A[k - j] for some j
    RHO_DEGREE_BELOW_K,   // symmetric, from-rho: A[k] = 0
    RHO_ROOTS_OFF_CIRCLE, // symmetric: a root off the circle, or on it of multiplicity > 2
    REFUSED,              // beyond the limits of the exact analyses, or of the family's rule
};

struct DesignedMethod {
    DesignStatus status = DesignStatus::MADE;
    int k = 0;
    int m = 0;
    Coefficients coefficients; // A[0..k] then B[0..k], when made
    analyse::ExactOrder order; // when made, NO_ORDER or NO_ERROR_CONSTANT
};

// What to build. `polynomial` is rho for SYMMETRIC and FROM_RHO, sigma for
// FROM_SIGMA (k + 1 coefficients), and unused by the other families.
// `explicit_sigma` asks B[k] = 0 of FROM_RHO and B[0] = B[k] = 0 of
// SYMMETRIC. A request outside the family's rule (k, m, the polynomial's
// length) is REFUSED; the command line says why before it comes to that.
struct DesignRequest {
    Family family = Family::ADAMS_BASHFORTH;
    int k = 1;
    int m = 1;
    bool explicit_sigma = false;
    std::vector<Rational> polynomial;
};

DesignedMethod design_method(const DesignRequest& request);

} // namespace ordimet::design

#pragma once

// What a search is asked for: the space of methods (a step count, an
// equation order, an order to reach and a rational grid for the free
// coefficients), the constraints every method found must meet and the
// objective that ranks them.

#include "analyse/exact/rational.hpp"

#include <vector>

namespace ordimet::design {

using analyse::Rational;

// The polynomial whose coefficients the grid runs over.
enum class Varied { RHO, SIGMA };

enum class Objective {
    REAL_INTERVAL,      // m = 1: a of the real stability interval (-a, 0), largest
    ALPHA,              // m = 1: the A(alpha) angle, largest
    ERROR_CONSTANT,     // any m: |C_{p+m} / sigma(1)| at the order asked for, smallest
    SSP,                // m = 1, explicit: the SSP coefficient, largest
    PERIODICITY,        // m = 2: Hp^2 of the interval of periodicity, largest
    ABSOLUTE_STABILITY, // m = 2: Ha^2 of the interval of absolute stability, largest
    PHASE_LAG,          // m = 2: the phase lag, of highest order and then smallest constant
};

// The limits of the space: step counts the region analyses decide (up to
// their MAX_REGION_STEP) and the equation orders the families are made for.
inline constexpr int MAX_SEARCH_STEP = 16;
inline constexpr int MAX_SEARCH_EQUATION_ORDER = 4;
inline constexpr int MAX_SEARCH_ORDER = 64;

// A coefficient of a method of step count k by its position: A[j] at j,
// B[j] at k + 1 + j.
struct SpaceRequest {
    int k = 1;
    int m = 1;
    int order = 1;
    Varied varied = Varied::RHO;
    bool explicit_method = false;
    bool symmetric = false;
    std::vector<int> zeros;
    Rational low;
    Rational high;
    Rational step;
};

struct Constraints {
    bool zero_stable = true;
    bool a_stable = false;    // m = 1
    bool p_stable = false;    // m = 2
    bool irreducible = false; // rho and sigma without a common factor
};

struct SearchRequest {
    SpaceRequest space;
    Constraints constraints;
    Objective objective = Objective::ERROR_CONSTANT;
    int top = 10;
    int jobs = 1;
};

// Whether the objective is made larger (true) or smaller.
bool maximised(Objective objective);

} // namespace ordimet::design

#pragma once

// The objectives: their names, the equation orders they are defined for,
// and the values computed exactly wherever that is cheap (the error
// constant, the SSP coefficient, the phase lag), in the screening and in
// the certification alike.

#include "design/search/request.hpp"
#include "design/search/screen.hpp"

#include <optional>
#include <span>
#include <string>

namespace ordimet::design {

// The name on the command line and in JSON: "real-interval", "alpha", ...
const char* objective_name(Objective objective);
std::optional<Objective> objective_from_name(const std::string& name);

// Whether the objective is defined for methods of equation order m (and
// explicit ones, for the SSP coefficient).
bool objective_applies(Objective objective, int m, bool explicit_method);

// Whether its value is exact already in the screening.
bool exact_objective(Objective objective);

// The exact value of an exact objective.
struct ExactValue {
    bool known = false;
    Rational value; // |error constant|, the SSP coefficient or the phase-lag constant
    // The phase lag: its order, or every term up to MAX_PHASE_LAG_ORDER 0.
    int phase_lag_order = 0;
    bool phase_lag_vanishes = false;
};

// `coefficients`: A[0..k], B[0..k] of a method of the space, in any common
// scale (every exact objective is a ratio).
ExactValue exact_value(Objective objective, const Space& space,
                       std::span<const Rational> coefficients);

// Its score; an unknown value is the worst (-infinity).
Score exact_score(Objective objective, const ExactValue& value);

} // namespace ordimet::design

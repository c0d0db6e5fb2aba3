// Names of the objectives and their exact values.

#include "design/search/objective.hpp"

#include "analyse/exact/numbers.hpp"
#include "analyse/linear/linear_stability.hpp"
#include "analyse/linear/ssp.hpp"
#include "analyse/order/order.hpp"

#include <limits>

namespace ordimet::design {
namespace {

struct Named {
    Objective objective;
    const char* name;
};

constexpr Named NAMES[] = {
    {Objective::REAL_INTERVAL, "real-interval"},
    {Objective::ALPHA, "alpha"},
    {Objective::ERROR_CONSTANT, "error-constant"},
    {Objective::SSP, "ssp"},
    {Objective::PERIODICITY, "periodicity"},
    {Objective::ABSOLUTE_STABILITY, "absolute-stability"},
    {Objective::PHASE_LAG, "phase-lag"},
};

// The error constant at the order asked for: C_{p+m} / sigma(1), which is
// 0 for a method of higher order. Its magnitude is the value.
ExactValue error_constant(const Space& space, std::span<const Rational> coefficients) {
    ExactValue result;
    const analyse::ExactOrder order = analyse::exact_order(space.k, space.m, coefficients);
    if (order.outcome != analyse::OrderOutcome::FOUND) {
        return result;
    }
    result.known = true;
    if (order.order == space.order) {
        fmpq_abs(result.value.get(), order.error_constant.get());
    }
    return result;
}

ExactValue phase_lag_value(const Space& space, std::span<const Rational> coefficients) {
    ExactValue result;
    const std::span<const Rational> rho = coefficients.first(analyse::as_index(space.k) + 1);
    const std::span<const Rational> sigma = coefficients.subspan(analyse::as_index(space.k) + 1);
    // The order conditions give rho(1) = rho'(1) = 0 and rho''(1) = 2
    // sigma(1); the phase lag needs sigma(1) != 0 besides.
    Rational sum;
    for (const Rational& b : sigma) {
        fmpq_add(sum.get(), sum.get(), b.get());
    }
    if (sum.is_zero()) {
        return result;
    }
    analyse::Periodicity lag;
    analyse::phase_lag(rho, sigma, lag);
    result.known = true;
    result.phase_lag_vanishes = !lag.phase_lag_known;
    result.phase_lag_order = lag.phase_lag_order;
    fmpq_abs(result.value.get(), lag.phase_lag_constant.get());
    return result;
}

} // namespace

bool maximised(Objective objective) {
    return objective != Objective::ERROR_CONSTANT && objective != Objective::PHASE_LAG;
}

const char* objective_name(Objective objective) {
    for (const Named& named : NAMES) {
        if (named.objective == objective) {
            return named.name;
        }
    }
    return "";
}

std::optional<Objective> objective_from_name(const std::string& name) {
    for (const Named& named : NAMES) {
        if (name == named.name) {
            return named.objective;
        }
    }
    return std::nullopt;
}

bool objective_applies(Objective objective, int m, bool explicit_method) {
    switch (objective) {
    case Objective::REAL_INTERVAL:
    case Objective::ALPHA:
        return m == 1;
    case Objective::SSP:
        return m == 1 && explicit_method;
    case Objective::PERIODICITY:
    case Objective::ABSOLUTE_STABILITY:
    case Objective::PHASE_LAG:
        return m == 2;
    case Objective::ERROR_CONSTANT:
        return true;
    }
    return false;
}

bool exact_objective(Objective objective) {
    return objective == Objective::ERROR_CONSTANT || objective == Objective::SSP ||
           objective == Objective::PHASE_LAG;
}

ExactValue exact_value(Objective objective, const Space& space,
                       std::span<const Rational> coefficients) {
    if (objective == Objective::ERROR_CONSTANT) {
        return error_constant(space, coefficients);
    }
    if (objective == Objective::PHASE_LAG) {
        return phase_lag_value(space, coefficients);
    }
    ExactValue result;
    const std::span<const Rational> rho = coefficients.first(analyse::as_index(space.k) + 1);
    const std::span<const Rational> sigma = coefficients.subspan(analyse::as_index(space.k) + 1);
    const std::optional<Rational> ssp = analyse::ssp_coefficient(rho, sigma);
    result.known = ssp.has_value();
    if (ssp) {
        result.value = *ssp;
    }
    return result;
}

Score exact_score(Objective objective, const ExactValue& value) {
    constexpr double WORST = -std::numeric_limits<double>::infinity();
    if (!value.known) {
        return {WORST, 0.0};
    }
    // The nearest double keeps the order of the exact values (ties aside),
    // so that the estimate of an exact objective never misleads.
    const double decimal = analyse::nearest_double(value.value);
    switch (objective) {
    case Objective::ERROR_CONSTANT:
        return {-decimal, 0.0};
    case Objective::PHASE_LAG:
        // A higher order first; a phase lag that vanishes to the last term
        // computed is the best there is.
        return value.phase_lag_vanishes
                   ? Score{analyse::MAX_PHASE_LAG_ORDER + 1.0, 0.0}
                   : Score{static_cast<double>(value.phase_lag_order), -decimal};
    default:
        return {decimal, 0.0};
    }
}

} // namespace ordimet::design

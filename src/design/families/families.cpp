#include "design/families/families.hpp"

#include "analyse/order/solve.hpp"
#include "analyse/roots/roots.hpp"

#include <algorithm>
#include <flint/fmpz.h>

namespace ordimet::design {
namespace {

using analyse::SolveShape;

// Left to us: Stormer and Cowell are built for y'' = f unless --m says
// otherwise, as their names are known for; a prescribed polynomial is for
// y' = f unless told.
constexpr FamilyRule RULES[] = {
    {Family::ADAMS_BASHFORTH, "adams-bashforth", 1, false, 1, false},
    {Family::ADAMS_MOULTON, "adams-moulton", 1, false, 1, false},
    {Family::BDF, "bdf", 1, false, 1, false},
    {Family::NYSTROM, "nystrom", 1, false, 2, false},
    {Family::MILNE_SIMPSON, "milne-simpson", 1, false, 2, false},
    {Family::STORMER, "stormer", 2, true, 0, false},
    {Family::COWELL, "cowell", 2, true, 0, false},
    {Family::SYMMETRIC, "symmetric", 2, false, 2, true},
    {Family::FROM_RHO, "from-rho", 1, true, 1, false},
    {Family::FROM_SIGMA, "from-sigma", 1, true, 1, false},
};
// The families built by name come first.
constexpr std::size_t NAMED = 8;

// The given coefficients and the free ones of a family.
struct Shape {
    Coefficients given;
    SolveShape solve;
};

// Frees B[first .. last].
void free_sigma(int k, int first, int last, Shape& shape) {
    for (int j = first; j <= last; ++j) {
        shape.solve.free[static_cast<std::size_t>(k + 1 + j)] = true;
    }
}

// rho = z^(k-m) (z - 1)^m: A[k - m + i] = (-1)^(m - i) binom(m, i).
void set_power_of_difference(int k, int m, Shape& shape) {
    for (int i = 0; i <= m; ++i) {
        Rational& a = shape.given[static_cast<std::size_t>(k - m + i)];
        fmpz_bin_uiui(fmpq_numref(a.get()), static_cast<ulong>(m), static_cast<ulong>(i));
        if ((m - i) % 2 != 0) {
            fmpq_neg(a.get(), a.get());
        }
    }
}

Shape shape_of(const DesignRequest& request) {
    const int k = request.k;
    const auto n = static_cast<std::size_t>(k + 1);
    Shape shape{Coefficients(2 * n), {std::vector<bool>(2 * n, false)}};
    const auto polynomial_into = [&](std::size_t offset) {
        std::copy(request.polynomial.begin(), request.polynomial.end(),
                  shape.given.begin() + static_cast<long>(offset));
    };
    switch (request.family) {
    case Family::ADAMS_BASHFORTH:
    case Family::ADAMS_MOULTON:
    case Family::NYSTROM:
    case Family::MILNE_SIMPSON: {
        const bool adams =
            request.family == Family::ADAMS_BASHFORTH || request.family == Family::ADAMS_MOULTON;
        shape.given[n - 1] = Rational(1, 1);
        shape.given[n - (adams ? 2 : 3)] = Rational(-1, 1);
        const bool implicit =
            request.family == Family::ADAMS_MOULTON || request.family == Family::MILNE_SIMPSON;
        free_sigma(k, 0, implicit ? k : k - 1, shape);
        break;
    }
    case Family::BDF:
        shape.given[n - 1] = Rational(1, 1);
        std::fill(shape.solve.free.begin(), shape.solve.free.begin() + k, true);
        free_sigma(k, k, k, shape);
        break;
    case Family::STORMER:
    case Family::COWELL:
        set_power_of_difference(k, request.m, shape);
        free_sigma(k, 0, request.family == Family::COWELL ? k : k - 1, shape);
        break;
    case Family::SYMMETRIC:
        polynomial_into(0);
        free_sigma(k, request.explicit_sigma ? 1 : 0, request.explicit_sigma ? k - 1 : k, shape);
        shape.solve.symmetric_sigma = true;
        break;
    case Family::FROM_RHO:
        polynomial_into(0);
        free_sigma(k, 0, request.explicit_sigma ? k - 1 : k, shape);
        break;
    case Family::FROM_SIGMA:
        polynomial_into(n);
        std::fill(shape.solve.free.begin(), shape.solve.free.begin() + k + 1, true);
        break;
    }
    return shape;
}

// What a prescribed rho must be before sigma is solved for it. For the
// symmetric family: symmetric, with the double root 1 and every other root
// on the unit circle, decided exactly by the analyses' root location.
DesignStatus check_rho(const DesignRequest& request) {
    const std::vector<Rational>& rho = request.polynomial;
    const auto k = static_cast<std::size_t>(request.k);
    if (rho.back().is_zero()) {
        return std::all_of(rho.begin(), rho.end(), [](const Rational& a) { return a.is_zero(); })
                   ? DesignStatus::ZERO_POLYNOMIAL
                   : DesignStatus::RHO_DEGREE_BELOW_K;
    }
    if (request.family != Family::SYMMETRIC) {
        return DesignStatus::MADE;
    }
    for (std::size_t j = 0; j <= k; ++j) {
        if (!(rho[j] == rho[k - j])) {
            return DesignStatus::RHO_NOT_SYMMETRIC;
        }
    }
    // A symmetric rho of even degree with the root 1 has it with an even
    // multiplicity; more than 2 breaks the root condition below.
    Rational sum;
    for (const Rational& a : rho) {
        fmpq_add(sum.get(), sum.get(), a.get());
    }
    if (!sum.is_zero()) {
        return DesignStatus::NO_ROOT_ONE;
    }
    const analyse::RootCondition roots = analyse::root_condition(request.k, 2, rho);
    if (roots.status != analyse::RootStatus::DECIDED) {
        return DesignStatus::REFUSED;
    }
    const bool on_circle = std::all_of(roots.roots.begin(), roots.roots.end(), [](const auto& r) {
        return r.location == analyse::Location::ON;
    });
    return roots.zero_stable && on_circle ? DesignStatus::MADE : DesignStatus::RHO_ROOTS_OFF_CIRCLE;
}

DesignStatus check_polynomial(const DesignRequest& request) {
    switch (request.family) {
    case Family::SYMMETRIC:
    case Family::FROM_RHO:
        return check_rho(request);
    case Family::FROM_SIGMA:
        return std::all_of(request.polynomial.begin(), request.polynomial.end(),
                           [](const Rational& b) { return b.is_zero(); })
                   ? DesignStatus::ZERO_POLYNOMIAL
                   : DesignStatus::MADE;
    default:
        return DesignStatus::MADE;
    }
}

DesignStatus status_of_order(const analyse::ExactOrder& order) {
    switch (order.outcome) {
    case analyse::OrderOutcome::FOUND:
        return order.order >= 1 ? DesignStatus::MADE : DesignStatus::NO_ORDER;
    case analyse::OrderOutcome::NO_ERROR_CONSTANT:
        return DesignStatus::NO_ERROR_CONSTANT;
    case analyse::OrderOutcome::ALL_ZERO:
        return DesignStatus::ZERO_POLYNOMIAL;
    case analyse::OrderOutcome::REFUSED:
        break;
    }
    return DesignStatus::REFUSED;
}

// Whether the request is one the family is built for (the command line
// refuses the others before they come here).
bool within_rule(const DesignRequest& request) {
    const FamilyRule& rule = family_rule(request.family);
    const int least = rule.least_step == 0 ? request.m : rule.least_step;
    const bool polynomial = request.family == Family::SYMMETRIC ||
                            request.family == Family::FROM_RHO ||
                            request.family == Family::FROM_SIGMA;
    return request.k >= least && request.k <= MAX_DESIGN_STEP && request.m >= 1 &&
           request.m <= MAX_EQUATION_ORDER && (rule.any_m || request.m == rule.m) &&
           (!rule.even_step || request.k % 2 == 0) &&
           (!polynomial || request.polynomial.size() == static_cast<std::size_t>(request.k) + 1);
}

} // namespace

const FamilyRule* family_rule(std::string_view name) {
    const auto found = std::find_if(std::begin(RULES), std::end(RULES),
                                    [&](const FamilyRule& rule) { return name == rule.name; });
    return found == std::end(RULES) ? nullptr : found;
}

const FamilyRule& family_rule(Family family) {
    return *std::find_if(std::begin(RULES), std::end(RULES),
                         [&](const FamilyRule& rule) { return rule.family == family; });
}

std::span<const FamilyRule> named_families() {
    return std::span<const FamilyRule>(RULES, NAMED);
}

DesignedMethod design_method(const DesignRequest& request) {
    DesignedMethod result;
    result.k = request.k;
    result.m = request.m;
    if (!within_rule(request)) {
        result.status = DesignStatus::REFUSED;
        return result;
    }
    result.status = check_polynomial(request);
    if (result.status != DesignStatus::MADE) {
        return result;
    }
    const Shape shape = shape_of(request);
    analyse::SolvedMethod solved =
        analyse::solve_highest_order(request.k, request.m, shape.given, shape.solve);
    if (!solved.unique) {
        // Conditions below m involve rho alone: a rho that fails one has no
        // sigma of any order.
        result.status =
            solved.conditions < request.m ? DesignStatus::NO_ROOT_ONE : DesignStatus::NOT_UNIQUE;
        return result;
    }
    result.coefficients = std::move(solved.coefficients);
    result.order = analyse::exact_order(request.k, request.m, result.coefficients);
    result.status = status_of_order(result.order);
    return result;
}

} // namespace ordimet::design

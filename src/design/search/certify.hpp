#pragma once

// The certification of a candidate: every constraint decided by the exact
// analyses of ordimet-analyse, and the objective's certified value. Only
// what is here is ever printed about a method found.

#include "analyse/linear/linear_stability.hpp"
#include "analyse/order/order.hpp"
#include "analyse/roots/roots.hpp"
#include "design/search/objective.hpp"
#include "design/search/screen.hpp"

#include <cstdint>
#include <optional>
#include <vector>

namespace ordimet::design {

struct Certificate {
    std::uint64_t index = 0;
    std::vector<Rational> coefficients; // A[0..k], B[0..k]
    analyse::ExactOrder order;
    analyse::CharacteristicPolynomials polynomials;
    analyse::RootCondition roots;
    analyse::AbsoluteStability absolute; // m = 1
    analyse::Periodicity periodicity;    // m = 2
    std::optional<Rational> ssp;         // m = 1
    ExactValue exact;                    // an exact objective's value
    // The first constraint it fails, decided exactly; or, when it fails
    // none, whether a constraint or the objective could not be decided.
    Drop drop = Drop::NONE;
    bool undecided = false;
    Score score; // certified
};

Certificate certify(const Space& space, const SearchRequest& request, std::uint64_t index);

// The certified value of a region objective as a score: an interval end
// as the analyses report it (6 significant digits, infinity for no end, 0
// for no interval), the angle with 2 decimals.
Score region_score(Objective objective, const Certificate& certificate);

} // namespace ordimet::design

// JSON Lines: one object per method found, best first, then the summary.
// Every value of a method is certified; exact values as fraction strings,
// interval ends with 6 significant digits ("inf" for no end, null for no
// interval), the angle with 2 decimals, as ordimet-analyse writes them.

#include "analyse/exact/numbers.hpp"
#include "analyse/report/format.hpp"
#include "analyse/report/json_values.hpp"
#include "design/search/objective.hpp"
#include "design/search/report.hpp"

#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>

namespace ordimet::design {
namespace {

using Json = nlohmann::ordered_json;
using analyse::end_exact;
using analyse::end_value;
using analyse::RegionStatus;
using analyse::two_decimals;

Json fractions(std::span<const Rational> values) {
    Json array = Json::array();
    for (const Rational& value : values) {
        array.push_back(analyse::rational_text(value));
    }
    return array;
}

// The linear stability of the method's m, null where it has none.
void put_stability(int m, const Certificate& c, Json& object) {
    const bool one = m == 1 && c.absolute.status == RegionStatus::DECIDED;
    const bool two = m == 2 && c.periodicity.status == RegionStatus::DECIDED;
    object["stability_interval"] = one ? end_value(c.absolute.real_interval) : Json(nullptr);
    object["stability_interval_exact"] = one ? end_exact(c.absolute.real_interval) : Json(nullptr);
    object["a_stable"] = one ? Json(c.absolute.a_stable) : Json(nullptr);
    object["a_alpha_degrees"] = one ? Json(two_decimals(c.absolute.alpha_degrees)) : Json(nullptr);
    object["ssp_coefficient"] =
        m == 1 && c.ssp ? Json(analyse::rational_text(*c.ssp)) : Json(nullptr);
    object["periodicity_end"] = two ? end_value(c.periodicity.periodicity) : Json(nullptr);
    object["periodicity_end_exact"] = two ? end_exact(c.periodicity.periodicity) : Json(nullptr);
    object["absolute_stability_end"] = two ? end_value(c.periodicity.absolute) : Json(nullptr);
    object["absolute_stability_end_exact"] =
        two ? end_exact(c.periodicity.absolute) : Json(nullptr);
    object["p_stable"] = two ? Json(c.periodicity.p_stable) : Json(nullptr);
    const bool lag = two && c.periodicity.phase_lag_known;
    object["phase_lag_order"] = lag ? Json(c.periodicity.phase_lag_order) : Json(nullptr);
    object["phase_lag_constant_exact"] =
        lag ? Json(c.periodicity.phase_lag_constant.text()) : Json(nullptr);
}

// The objective's certified value: a fraction string for an exact one, an
// interval end or an angle otherwise.
Json objective_value(Objective objective, const Certificate& c) {
    switch (objective) {
    case Objective::REAL_INTERVAL:
        return end_value(c.absolute.real_interval);
    case Objective::PERIODICITY:
        return end_value(c.periodicity.periodicity);
    case Objective::ABSOLUTE_STABILITY:
        return end_value(c.periodicity.absolute);
    case Objective::ALPHA:
        return two_decimals(c.absolute.alpha_degrees);
    default:
        return c.exact.phase_lag_vanishes ? Json(nullptr)
                                          : Json(analyse::rational_text(c.exact.value));
    }
}

Json method_object(const ReportInput& input, std::size_t rank) {
    const Certificate& c = input.outcome.winners[rank];
    const Space& space = input.space;
    const std::size_t n = analyse::as_index(space.k) + 1;
    const std::span<const Rational> all = c.coefficients;
    Json object;
    object["record"] = "method";
    object["rank"] = rank + 1;
    object["k"] = space.k;
    object["m"] = space.m;
    object["rho"] = fractions(all.first(n));
    object["sigma"] = fractions(all.subspan(n));
    object["order"] = c.order.order;
    const bool found = c.order.outcome == analyse::OrderOutcome::FOUND;
    object["error_constant"] =
        found ? Json(analyse::rational_text(c.order.error_constant)) : Json(nullptr);
    object["objective"] = objective_name(input.request.objective);
    object["value"] = objective_value(input.request.objective, c);
    object["zero_stable"] =
        c.roots.status == analyse::RootStatus::DECIDED ? Json(c.roots.zero_stable) : Json(nullptr);
    object["reducible"] = c.polynomials.refused ? Json(nullptr) : Json(c.polynomials.reducible);
    put_stability(space.m, c, object);
    object["file"] =
        input.files.empty() ? Json(nullptr) : Json(input.folder + "/" + input.files[rank]);
    return object;
}

Json summary_object(const ReportInput& input) {
    const Space& space = input.space;
    const SearchOutcome& outcome = input.outcome;
    Json object;
    object["record"] = "summary";
    object["k"] = space.k;
    object["m"] = space.m;
    object["order"] = space.order;
    object["varied"] = space.varied == Varied::RHO ? "rho" : "sigma";
    object["objective"] = objective_name(input.request.objective);
    Json free = Json::array();
    for (const int position : space.parameters) {
        free.push_back(coefficient_name(space.k, position));
    }
    object["free"] = free;
    object["grid_points"] = space.grid_points;
    object["examined"] = outcome.counts.examined;
    object["candidates"] = outcome.counts.candidates;
    const char* const reasons[DROP_REASONS] = {"", "zero_stability", "irreducible", "a_stability",
                                               "p_stability"};
    Json dropped;
    for (std::size_t d = 1; d < DROP_REASONS; ++d) {
        dropped[reasons[d]] = outcome.counts.dropped[d] + outcome.dropped_certified[d];
    }
    object["dropped"] = dropped;
    object["kept"] = outcome.counts.kept;
    object["certified"] = outcome.certified;
    object["undecided"] = outcome.undecided;
    object["methods"] = outcome.winners.size();
    object["interrupted"] = outcome.counts.examined < space.grid_points;
    object["folder"] = input.files.empty() ? Json(nullptr) : Json(input.folder);
    return object;
}

} // namespace

std::string search_json_lines(const ReportInput& input) {
    std::string out;
    for (std::size_t rank = 0; rank < input.outcome.winners.size(); ++rank) {
        out += method_object(input, rank).dump(-1, ' ', false, Json::error_handler_t::replace);
        out += '\n';
    }
    out += summary_object(input).dump(-1, ' ', false, Json::error_handler_t::replace);
    out += '\n';
    return out;
}

} // namespace ordimet::design

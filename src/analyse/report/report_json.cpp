#include "analyse/report/report_json.hpp"

#include "analyse/report/failures.hpp"
#include "analyse/report/file_names.hpp"
#include "analyse/report/format.hpp"
#include "analyse/report/json_values.hpp"

#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>

namespace ordimet::analyse {
namespace {

// Keys in the order the documentation lists them, which is easier to read
// than alphabetical.
using Json = nlohmann::ordered_json;

const char* location_name(Location location) {
    switch (location) {
    case Location::INSIDE:
        return "inside";
    case Location::ON:
        return "on";
    case Location::OUTSIDE:
        return "outside";
    }
    return "";
}

const char* verdict_name(TestVerdict verdict) {
    switch (verdict) {
    case TestVerdict::NOT_RUN:
        return "not run";
    case TestVerdict::CONVERGED:
        return "converged";
    case TestVerdict::DIVERGED:
        return "diverged";
    }
    return "";
}

Json disagreement_value(Disagreement disagreement) {
    switch (disagreement) {
    case Disagreement::NONE:
        return nullptr;
    case Disagreement::ROUND_OFF:
        return "round-off";
    case Disagreement::WEAK_ROOT:
        return "weak-root";
    case Disagreement::DIVERGED_OTHERWISE:
        return "diverged-otherwise";
    case Disagreement::UNREACHED_ROOT:
        return "unreached-root";
    case Disagreement::UNREACHED_MULTIPLE_ROOT:
        return "unreached-multiple-root";
    case Disagreement::CONVERGED_OTHERWISE:
        return "converged-otherwise";
    }
    return nullptr;
}

const char* kind_name(MethodKind kind) {
    switch (kind) {
    case MethodKind::SIMPLE:
        return "SI";
    case MethodKind::COMPOSITE:
        return "CO";
    case MethodKind::CYCLIC:
        return "CI";
    }
    return "";
}

// Adds a key the object doesn't have yet. ordered_json's own operator[]
// searches the keys already there one by one; a report knows its keys are
// new, and a batch writes some forty of them per method.
template <class Value> void put(Json& object, const char* key, Value&& value) {
    object.get_ref<Json::object_t&>().emplace_back(key, std::forward<Value>(value));
}

// An empty object with room for its keys, built without the temporary arrays
// of nlohmann's initializer lists.
Json object_of(std::size_t keys) {
    Json object = Json::object();
    object.get_ref<Json::object_t&>().reserve(keys);
    return object;
}

template <class Value> Json root_object(const Value& root) {
    Json object = object_of(5);
    // A negative zero (the conjugate of a real value) prints as 0.0 like
    // every other zero, for roots and eigenvalues alike.
    put(object, "re", root.re == 0.0 ? 0.0 : root.re);
    put(object, "im", root.im == 0.0 ? 0.0 : root.im);
    put(object, "multiplicity", root.multiplicity);
    put(object, "location", location_name(root.location));
    return object;
}

Json fractions(const std::vector<Rational>& values) {
    Json array = Json::array();
    array.get_ref<Json::array_t&>().reserve(values.size());
    std::string text;
    for (const Rational& value : values) {
        rational_text(value, text);
        array.push_back(text);
    }
    return array;
}

Json strings(const std::vector<std::string>& values) {
    Json array = Json::array();
    array.get_ref<Json::array_t&>().reserve(values.size());
    for (const std::string& value : values) {
        array.push_back(value);
    }
    return array;
}

Json test_values(const ExponentialTest& test) {
    if (test.verdict == TestVerdict::NOT_RUN) {
        return nullptr;
    }
    Json values = object_of(3);
    put(values, "taylor_degree", test.degree);
    put(values, "larger_step_value", test.larger_step_value);
    put(values, "smaller_step_value", test.smaller_step_value);
    return values;
}

const char* status_name(RegionStatus status) {
    switch (status) {
    case RegionStatus::DECIDED:
        return "decided";
    case RegionStatus::NOT_APPLICABLE:
        return "not-applicable";
    case RegionStatus::REFUSED:
        return "refused";
    }
    return "";
}

// The linear stability keys, every one in every algorithm object: null
// where the algorithm's m doesn't have it or it wasn't decided.
void put_linear_stability(const AlgorithmAnalysis& algorithm, int m, Json& object) {
    const AbsoluteStability& first = algorithm.absolute;
    const Periodicity& second = algorithm.periodicity;
    const RegionStatus status = m == 1   ? first.status
                                : m == 2 ? second.status
                                         : RegionStatus::NOT_APPLICABLE;
    put(object, "linear_stability",
        algorithm.stability_analysed ? status_name(status) : "not-requested");
    const bool one = m == 1 && first.status == RegionStatus::DECIDED;
    const bool two = m == 2 && second.status == RegionStatus::DECIDED;
    put(object, "stability_interval", one ? end_value(first.real_interval) : Json(nullptr));
    put(object, "stability_interval_exact", one ? end_exact(first.real_interval) : Json(nullptr));
    put(object, "a_stable", one ? Json(first.a_stable) : Json(nullptr));
    put(object, "a_alpha_degrees", one ? Json(two_decimals(first.alpha_degrees)) : Json(nullptr));
    put(object, "periodicity_end", two ? end_value(second.periodicity) : Json(nullptr));
    put(object, "periodicity_end_exact", two ? end_exact(second.periodicity) : Json(nullptr));
    put(object, "absolute_stability_end", two ? end_value(second.absolute) : Json(nullptr));
    put(object, "absolute_stability_end_exact", two ? end_exact(second.absolute) : Json(nullptr));
    put(object, "p_stable", two ? Json(second.p_stable) : Json(nullptr));
    const bool lag = two && second.phase_lag_known;
    put(object, "phase_lag_order", lag ? Json(second.phase_lag_order) : Json(nullptr));
    put(object, "phase_lag_constant",
        lag ? Json(significant(second.phase_lag_decimal)) : Json(nullptr));
    put(object, "phase_lag_constant_exact",
        lag ? Json(second.phase_lag_constant.text()) : Json(nullptr));
}

// A file name's bytes when JSON can't hold them as they are: null for a name
// in valid UTF-8, which the name's string holds exactly; otherwise base64,
// since the string then has U+FFFD in place of the invalid bytes.
Json name_bytes(const std::string& name) {
    return is_valid_utf8(name) ? Json(nullptr) : Json(base64(name));
}

Json names_bytes(const std::vector<std::string>& names) {
    Json array = Json::array();
    for (const std::string& name : names) {
        array.push_back(name_bytes(name));
    }
    return array;
}

const char* reading_name(Reading reading) {
    switch (reading) {
    case Reading::AS_WRITTEN:
        return "as-written";
    case Reading::FRACTIONS:
        return "fractions";
    case Reading::SOLVED:
        return "solved";
    }
    return "";
}

const char* solved_name(SolvedPart part) {
    switch (part) {
    case SolvedPart::SIGMA:
        return "sigma";
    case SolvedPart::RHO:
        return "rho";
    case SolvedPart::UNDETERMINED:
        return "undetermined";
    }
    return "";
}

// Every reading tried and the order it gives.
Json readings_array(const std::vector<ReadingTried>& readings) {
    Json array = Json::array();
    for (const ReadingTried& reading : readings) {
        Json object = object_of(4);
        put(object, "reading", reading_name(reading.reading));
        put(object, "solved",
            reading.reading == Reading::SOLVED ? Json(solved_name(reading.solved)) : Json(nullptr));
        const bool found = reading.error_index >= 0;
        put(object, "error_index", found ? Json(reading.error_index) : Json(nullptr));
        put(object, "order", found ? Json(reading.order) : Json(nullptr));
        array.push_back(std::move(object));
    }
    return array;
}

Json missing_order_name(NoConvergenceOrder why) {
    switch (why) {
    case NoConvergenceOrder::NONE:
        return nullptr;
    case NoConvergenceOrder::NOT_ZERO_STABLE:
        return "not-zero-stable";
    case NoConvergenceOrder::NOT_DECIDED:
        return "not-decided";
    case NoConvergenceOrder::NO_ORDER:
        return "no-order";
    }
    return nullptr;
}

Json order_disagreement_name(OrderDisagreement disagreement) {
    switch (disagreement) {
    case OrderDisagreement::NONE:
        return nullptr;
    case OrderDisagreement::FALSE_RAISE:
        return "false-raise";
    case OrderDisagreement::MISSED_RAISE:
        return "missed-raise";
    }
    return nullptr;
}

// A number of a convergence run: null where it is not finite (an error
// beyond the doubles, an undefined step), which JSON can't hold.
Json finite_or_null(double value) {
    return std::isfinite(value) ? Json(value) : Json(nullptr);
}

Json finite_numbers(const std::vector<double>& values) {
    Json array = Json::array();
    for (const double value : values) {
        array.push_back(finite_or_null(value));
    }
    return array;
}

Json run_object(const ConvergenceRun& run) {
    Json object = object_of(5);
    put(object, "problem", run.problem);
    put(object, "steps", finite_numbers(run.steps));
    put(object, "errors", finite_numbers(run.errors));
    put(object, "observed_orders", finite_numbers(run.observed_orders));
    put(object, "measured_order", finite_or_null(run.measured_order));
    return object;
}

// The runs of --converge: the one with the smallest measured order leads
// (its fields on the object itself), every run in `problems`; null without
// --converge.
Json convergence_object(const std::vector<ConvergenceRun>& runs) {
    if (runs.empty()) {
        return nullptr;
    }
    std::size_t weakest = 0;
    for (std::size_t i = 1; i < runs.size(); ++i) {
        if (std::isnan(runs[weakest].measured_order) ||
            runs[i].measured_order < runs[weakest].measured_order) {
            weakest = std::isnan(runs[weakest].measured_order) ? weakest : i;
        }
    }
    Json object = run_object(runs[weakest]);
    Json problems = Json::array();
    for (const ConvergenceRun& run : runs) {
        problems.push_back(run_object(run));
    }
    put(object, "problems", std::move(problems));
    return object;
}

Json algorithm_object(const AlgorithmAnalysis& algorithm, int m) {
    Json object = object_of(41);
    put(object, "file", algorithm.file);
    put(object, "file_bytes", name_bytes(algorithm.file));
    put(object, "explicit", algorithm.is_explicit);
    put(object, "reading", reading_name(algorithm.reading));
    put(object, "two_readings", algorithm.two_readings);
    put(object, "readings", readings_array(algorithm.readings));
    const bool found = algorithm.error_index >= 0;
    put(object, "error_index", found ? Json(algorithm.error_index) : Json(nullptr));
    put(object, "order", found ? Json(algorithm.order) : Json(nullptr));
    put(object, "error_coefficient",
        found ? Json(rational_text(*algorithm.error_coefficient)) : Json(nullptr));
    const bool constant = algorithm.error_constant.has_value();
    put(object, "error_constant",
        constant ? Json(rational_text(*algorithm.error_constant)) : Json(nullptr));
    put(object, "error_constant_decimal",
        constant ? Json(algorithm.error_constant_decimal) : Json(nullptr));
    const bool other = algorithm.two_readings && algorithm.other_error_index >= 0;
    put(object, "other_reading_error_index",
        other ? Json(algorithm.other_error_index) : Json(nullptr));
    put(object, "other_reading_order", other ? Json(algorithm.other_order) : Json(nullptr));
    put(object, "tolerance_order",
        algorithm.tolerance_order_known ? Json(algorithm.tolerance_order) : Json(nullptr));
    put(object, "fractions_needed", algorithm.fractions_needed);
    put(object, "rho", fractions(algorithm.rho));
    put(object, "sigma", fractions(algorithm.sigma));
    put(object, "reducible", algorithm.reducible);
    put(object, "common_factor",
        algorithm.reducible ? fractions(algorithm.common_factor) : Json(nullptr));
    put(object, "zero_stable", algorithm.zero_stable);
    put(object, "strongly_stable", algorithm.strongly_stable);
    put(object, "weakly_stable", algorithm.weakly_stable);
    put(object, "convergent", algorithm.convergent);
    Json roots = Json::array();
    for (const Root& root : algorithm.roots) {
        roots.push_back(root_object(root));
    }
    put(object, "roots", std::move(roots));
    put(object, "ssp_coefficient",
        algorithm.ssp_coefficient ? Json(rational_text(*algorithm.ssp_coefficient))
                                  : Json(nullptr));
    put(object, "convergence", convergence_object(algorithm.convergence));
    put(object, "exponential_test", verdict_name(algorithm.test.verdict));
    put_linear_stability(algorithm, m, object);
    return object;
}

Json cycle_object(const CycleAnalysis& cycle) {
    Json object = object_of(4);
    put(object, "zero_stable", cycle.decided ? Json(cycle.zero_stable) : Json(nullptr));
    Json missing = Json::array();
    for (const int number : cycle.without_companion) {
        missing.push_back(number);
    }
    put(object, "without_companion", std::move(missing));
    put(object, "refused", cycle.refused);
    Json values = Json::array();
    for (const Eigenvalue& value : cycle.eigenvalues) {
        Json eigenvalue = root_object(value);
        put(eigenvalue, "semisimple", value.minimal_multiplicity == 1);
        values.push_back(std::move(eigenvalue));
    }
    put(object, "eigenvalues", std::move(values));
    return object;
}

// A sampled value: null when not finite, as everywhere in the report.
Json sample_value(double value) {
    return std::isfinite(value) ? Json(value == 0.0 ? 0.0 : value) : Json(nullptr);
}

// m = 2: the root branches, for each sampled H^2 the roots as [re, im] in
// the order of their branches (null for none).
Json branches_value(const AlgorithmSamples& samples) {
    Json h2 = Json::array();
    Json roots = Json::array();
    for (std::size_t i = 0; i < samples.branch_h2.size(); ++i) {
        h2.push_back(sample_value(samples.branch_h2[i]));
        Json row = Json::array();
        for (std::size_t b = 0; b < samples.degree; ++b) {
            const std::complex<double> z = samples.branches[i * samples.degree + b];
            const bool finite = std::isfinite(z.real()) && std::isfinite(z.imag());
            row.push_back(finite ? Json::array({sample_value(z.real()), sample_value(z.imag())})
                                 : Json(nullptr));
        }
        roots.push_back(std::move(row));
    }
    Json value = object_of(2);
    put(value, "h2", std::move(h2));
    put(value, "roots", std::move(roots));
    return value;
}

// m = 2: the phase error of the principal root, null when not sampled.
Json phase_value(const AlgorithmSamples& samples) {
    if (samples.phase_h.empty()) {
        return nullptr;
    }
    Json h = Json::array();
    Json error = Json::array();
    for (std::size_t i = 0; i < samples.phase_h.size(); ++i) {
        h.push_back(sample_value(samples.phase_h[i]));
        error.push_back(sample_value(samples.phase_error[i]));
    }
    Json value = object_of(2);
    put(value, "h", std::move(h));
    put(value, "error", std::move(error));
    return value;
}

// The sampled curves of an algorithm's pictures: for m = 1 the boundary
// locus as [re, im] points, null between its pieces; for m = 2 the values
// of H^2 and, for each, the moduli of the roots in descending order, the
// root branches and the phase error.
void put_samples(Json& object, int m, const AlgorithmSamples& samples) {
    if (m == 1) {
        Json points = Json::array();
        points.get_ref<Json::array_t&>().reserve(samples.locus.size());
        for (const PlotPoint& point : samples.locus) {
            if (std::isfinite(point.x) && std::isfinite(point.y)) {
                points.push_back(Json::array({sample_value(point.x), sample_value(point.y)}));
            } else {
                points.push_back(nullptr);
            }
        }
        put(object, "boundary_locus", std::move(points));
    } else if (m == 2) {
        Json h2 = Json::array();
        Json moduli = Json::array();
        for (std::size_t i = 0; i < samples.h2.size(); ++i) {
            h2.push_back(sample_value(samples.h2[i]));
            Json row = Json::array();
            for (std::size_t j = 0; j < samples.degree; ++j) {
                row.push_back(sample_value(samples.moduli[i * samples.degree + j]));
            }
            moduli.push_back(std::move(row));
        }
        Json value = object_of(2);
        put(value, "h2", std::move(h2));
        put(value, "moduli", std::move(moduli));
        put(object, "root_moduli", std::move(value));
        put(object, "root_branches", branches_value(samples));
        put(object, "phase_error", phase_value(samples));
    }
}

void append_line(const Json& object, std::string& out) {
    // Invalid UTF-8 in a file name is replaced rather than refused, so that
    // the report goes out whatever the names; the name's bytes are beside it
    // (file_bytes, files_bytes).
    out += object.dump(-1, ' ', false, Json::error_handler_t::replace);
    out += '\n';
}

} // namespace

void write_json_report(const MethodAnalysis& method, std::string& out,
                       std::span<const AlgorithmSamples> samples) {
    Json object = object_of(22);
    put(object, "schema", JSON_SCHEMA_VERSION);
    put(object, "kind", kind_name(method.kind));
    put(object, "files", strings(method.files));
    put(object, "files_bytes", names_bytes(method.files));
    put(object, "m", method.m);
    put(object, "written_k", method.written_k);
    put(object, "k", method.k);
    put(object, "order", method.order_known ? Json(method.order) : Json(nullptr));
    put(object, "tolerance_order",
        method.tolerance_order_known ? Json(method.tolerance_order) : Json(nullptr));
    if (method.raise_computed) {
        Json raise = object_of(3);
        put(raise, "dimension", method.dimension);
        put(raise, "rank", method.rank);
        put(raise, "raised", method.raised);
        put(object, "raise", std::move(raise));
    } else if (method.raise_refused) {
        Json raise = object_of(3);
        put(raise, "dimension", method.dimension);
        put(raise, "rank", nullptr);
        put(raise, "raised", nullptr);
        put(object, "raise", std::move(raise));
    } else {
        put(object, "raise", nullptr);
    }
    put(object, "zero_stable", method.zero_stable_known ? Json(method.zero_stable) : Json(nullptr));
    put(object, "convergence_order",
        method.convergence_order_known ? Json(method.convergence_order) : Json(nullptr));
    put(object, "no_convergence_order", missing_order_name(method.no_convergence_order));
    put(object, "order_disagreement", order_disagreement_name(method.order_disagreement));
    put(object, "convergent", method.convergent);
    put(object, "convergence", convergence_object(method.convergence));
    Json algorithms = Json::array();
    for (std::size_t a = 0; a < method.algorithms.size(); ++a) {
        Json algorithm = algorithm_object(method.algorithms[a], method.m);
        if (a < samples.size()) {
            put_samples(algorithm, method.m, samples[a]);
        }
        algorithms.push_back(std::move(algorithm));
    }
    put(object, "algorithms", std::move(algorithms));
    put(object, "cycle",
        method.kind == MethodKind::CYCLIC ? cycle_object(method.cycle) : Json(nullptr));
    put(object, "exponential_test", verdict_name(method.test.verdict));
    put(object, "exponential_test_values", test_values(method.test));
    put(object, "disagreement", disagreement_value(method.test.disagreement));
    append_line(object, out);
}

void write_json_error(const AnalysisOutcome& outcome, const std::string& file, std::string& out) {
    Json object = object_of(5);
    put(object, "schema", JSON_SCHEMA_VERSION);
    put(object, "file", file.empty() ? Json(nullptr) : Json(file));
    put(object, "file_bytes", name_bytes(file));
    put(object, "error", failure_message(outcome, Language::PORTUGUESE));
    put(object, "error_code", failure_json_name(outcome.failure));
    append_line(object, out);
}

} // namespace ordimet::analyse

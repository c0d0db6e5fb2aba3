// The readings of an algorithm's coefficients and the one that leads: the
// decimals as written, each decimal as the fraction it stands for, and one
// of rho and sigma in its fraction reading with the other solved for the
// highest order its written shape allows.

#include "analyse/analysis/stages.hpp"
#include "analyse/exact/numbers.hpp"
#include "analyse/order/solve.hpp"
#include "analyse/reading/reading.hpp"

#include <algorithm>

namespace ordimet::analyse {
namespace {

struct Candidate {
    Reading reading = Reading::AS_WRITTEN;
    SolvedPart solved = SolvedPart::SIGMA;
    Coefficients values;
    ExactOrder order;
};

// The order conditions satisfied: q, or above every q when no C_i is non-zero;
// a reading the exact analysis refuses comes last.
std::int64_t conditions_satisfied(const ExactOrder& order) {
    if (order.outcome == OrderOutcome::REFUSED) {
        return -1;
    }
    return order.error_index >= 0 ? order.error_index : order.bound + 1;
}

// The readings of the coefficients left after the step reduction: A[s..k],
// then B[s..k].
std::vector<const CoefficientReading*> reduced_readings(const ExactMethodFile& file, int s) {
    std::vector<const CoefficientReading*> result;
    for (int part = 0; part < 2; ++part) {
        for (int j = s; j <= file.k; ++j) {
            result.push_back(&file.coefficients[static_cast<std::size_t>(part * (file.k + 1) + j)]);
        }
    }
    return result;
}

// Whether every coefficient of rho (or sigma) is determined.
bool determined(std::span<const CoefficientReading* const> readings, int k, bool sigma) {
    const auto n = static_cast<std::size_t>(k) + 1;
    const auto part = readings.subspan(sigma ? n : 0, n);
    return std::all_of(part.begin(), part.end(),
                       [](const CoefficientReading* r) { return r->determined; });
}

// Whether a solved coefficient may stand for the one written: equal to it,
// or, for a decimal of at least MIN_SOLVED_DIGITS digits, within half a
// unit of its last digit or, from 15 digits on, rounding to the same double.
bool within_written(const Rational& solved, const CoefficientReading& written) {
    if (solved == written.as_written) {
        return true;
    }
    if (written.half_unit.is_zero() || written.significant_digits < MIN_SOLVED_DIGITS) {
        return false;
    }
    Rational distance;
    fmpq_sub(distance.get(), solved.get(), written.as_written.get());
    fmpq_abs(distance.get(), distance.get());
    if (fmpq_cmp(distance.get(), written.half_unit.get()) <= 0) {
        return true;
    }
    return written.significant_digits >= TWO_READINGS_DIGITS &&
           nearest_double(solved) == written.value;
}

// Whether the written polynomial is symmetric: coefficient j equal to
// coefficient k - j.
bool symmetric(std::span<const Rational> polynomial) {
    for (std::size_t j = 0; j < polynomial.size(); ++j) {
        if (!(polynomial[j] == polynomial[polynomial.size() - 1 - j])) {
            return false;
        }
    }
    return polynomial.size() > 1;
}

// What is solved for: every written non-zero coefficient of sigma (or rho)
// while the other polynomial keeps its fraction reading, or every
// coefficient that is not determined. Written zeros stay zero, and a
// polynomial written symmetric stays so.
SolveShape solve_shape(int k, SolvedPart part, std::span<const Rational> written,
                       std::span<const CoefficientReading* const> readings) {
    const auto n = static_cast<std::size_t>(k) + 1;
    SolveShape shape;
    for (std::size_t p = 0; p < 2 * n; ++p) {
        const bool free = part == SolvedPart::UNDETERMINED ? !readings[p]->determined
                          : part == SolvedPart::RHO        ? p < n
                                                           : p >= n;
        shape.free.push_back(!written[p].is_zero() && free);
    }
    shape.symmetric_rho = symmetric(written.first(n));
    shape.symmetric_sigma = symmetric(written.subspan(n));
    return shape;
}

// The solved reading for a shape, when it is unique and every solved
// coefficient may stand for the one written; false otherwise.
bool solved_reading(int k, int m, SolvedPart part, std::span<const Rational> written,
                    std::span<const Rational> fractions,
                    std::span<const CoefficientReading* const> readings, Candidate& candidate) {
    const SolveShape shape = solve_shape(k, part, written, readings);
    const SolvedMethod solved = solve_highest_order(k, m, fractions, shape);
    if (!solved.unique) {
        return false;
    }
    for (std::size_t p = 0; p < readings.size(); ++p) {
        if (shape.free[p] && !within_written(solved.coefficients[p], *readings[p])) {
            return false;
        }
    }
    candidate.reading = Reading::SOLVED;
    candidate.solved = part;
    candidate.values = solved.coefficients;
    candidate.order = exact_order(k, m, candidate.values);
    return true;
}

// The solved readings: sigma for a determined rho, rho for a determined
// sigma, and, when neither polynomial is determined, every coefficient that
// is not determined for the determined ones.
void solved_candidates(int k, int m, std::span<const CoefficientReading* const> readings,
                       const Coefficients& written, const Coefficients& fractions,
                       std::vector<Candidate>& candidates) {
    const bool rho_determined = determined(readings, k, false);
    const bool sigma_determined = determined(readings, k, true);
    if (rho_determined == sigma_determined && rho_determined) {
        return;
    }
    const SolvedPart part = rho_determined     ? SolvedPart::SIGMA
                            : sigma_determined ? SolvedPart::RHO
                                               : SolvedPart::UNDETERMINED;
    Candidate solved;
    if (solved_reading(k, m, part, written, fractions, readings, solved)) {
        candidates.push_back(std::move(solved));
    }
}

// The fraction reading and the solved ones, after the reading as written.
void other_candidates(int k, int m, std::span<const CoefficientReading* const> readings,
                      const Coefficients& written, std::vector<Candidate>& candidates) {
    Coefficients fractions;
    bool differs = false;
    for (const CoefficientReading* r : readings) {
        fractions.push_back(r->intended);
        differs = differs || r->two_readings;
    }
    solved_candidates(k, m, readings, written, fractions, candidates);
    if (differs) {
        Candidate& candidate = *candidates.insert(candidates.begin() + 1, Candidate{});
        candidate.reading = Reading::FRACTIONS;
        candidate.order = exact_order(k, m, fractions);
        candidate.values = std::move(fractions);
    }
}

} // namespace

void choose_reading(std::size_t a, int written_k, int s, int m, AnalysisWorkspace& workspace,
                    AlgorithmAnalysis& algorithm) {
    const int k = written_k - s;
    const std::vector<const CoefficientReading*> readings = reduced_readings(workspace.files[a], s);
    std::vector<Candidate> candidates(1);
    candidates[0].values = drop_leading_columns(written_k, s, workspace.written[a]);
    candidates[0].order = exact_order(k, m, candidates[0].values);
    other_candidates(k, m, readings, candidates[0].values, candidates);
    std::size_t leader = 0;
    for (std::size_t i = 1; i < candidates.size(); ++i) {
        if (conditions_satisfied(candidates[i].order) >
            conditions_satisfied(candidates[leader].order)) {
            leader = i;
        }
    }
    algorithm.readings.clear();
    for (const Candidate& candidate : candidates) {
        algorithm.readings.push_back({candidate.reading, candidate.solved,
                                      candidate.order.error_index, candidate.order.order});
    }
    algorithm.two_readings = candidates.size() > 1;
    algorithm.reading = candidates[leader].reading;
    algorithm.solved = candidates[leader].solved;
    // The reading as written when another leads, else the best other one.
    std::size_t other = leader != 0 ? 0 : (candidates.size() > 1 ? 1 : 0);
    for (std::size_t i = 2; leader == 0 && i < candidates.size(); ++i) {
        if (conditions_satisfied(candidates[i].order) >
            conditions_satisfied(candidates[other].order)) {
            other = i;
        }
    }
    algorithm.other_error_index = candidates[other].order.error_index;
    algorithm.other_order = candidates[other].order.order;
    workspace.chosen[a] = std::move(candidates[leader].values);
    workspace.orders[a] = std::move(candidates[leader].order);
}

} // namespace ordimet::analyse

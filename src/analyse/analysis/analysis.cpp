// The analysis of one method, stage by stage: the files read exactly, the
// step reduced, every algorithm analysed, the method as a whole, and
// ordimet's own analyses beside the exact ones.

#include "analyse/analysis/analysis.hpp"

#include "analyse/analysis/stages.hpp"
#include "analyse/cycle/cycle.hpp"
#include "analyse/reading/diagnosis.hpp"

#include <algorithm>

namespace ordimet::analyse {
namespace {

AnalysisOutcome refusal(Failure failure, const std::string& file, std::int64_t step) {
    AnalysisOutcome outcome;
    outcome.failure = failure;
    outcome.failing = file;
    outcome.step = step;
    return outcome;
}

// Reads the method's files; a failure names the file at fault.
AnalysisOutcome load(std::span<const std::string> names, AnalysisWorkspace& workspace) {
    workspace.names.clear();
    for (const std::string& name : names) {
        workspace.names.push_back(name.c_str());
    }
    std::size_t failing = 0;
    AnalysisOutcome outcome;
    outcome.failure = load_exact_method_files(workspace.names, workspace.files, failing);
    if (outcome.failed() && failing < names.size()) {
        outcome.failing = names[failing];
        const ExactMethodFile& file = workspace.files[failing];
        diagnose(file.k, file.m, outcome);
    }
    return outcome;
}

// The step reduction on the values as written: a leading column is removed
// only when every coefficient in it is written as an exact zero, and the
// same columns go in every reading, so that all readings are of the same
// step. Returns the number of columns removed.
int reduce_step(AnalysisWorkspace& workspace) {
    const std::size_t c = workspace.files.size();
    workspace.written.resize(c);
    workspace.intended.resize(c);
    for (std::size_t a = 0; a < c; ++a) {
        const auto& coefficients = workspace.files[a].coefficients;
        Coefficients& values = workspace.written[a];
        values.resize(coefficients.size());
        for (std::size_t i = 0; i < coefficients.size(); ++i) {
            values[i] = coefficients[i].as_written;
        }
    }
    return leading_zero_columns(workspace.files[0].k, workspace.written);
}

// The zero-stability of the cycle of a cyclic method.
void analyse_cycle(int k, const AnalysisWorkspace& workspace, MethodAnalysis& method) {
    const CycleStability cycle = cycle_stability(k, workspace.chosen);
    for (std::size_t a = 0; a < workspace.chosen.size(); ++a) {
        if (workspace.chosen[a][static_cast<std::size_t>(k)].is_zero()) {
            method.cycle.without_companion.push_back(static_cast<int>(a) + 1);
        }
    }
    method.cycle.decided = cycle.status == CycleStatus::DECIDED;
    method.cycle.refused = cycle.status == CycleStatus::REFUSED;
    method.cycle.zero_stable = cycle.zero_stable;
    method.cycle.eigenvalues = cycle.eigenvalues;
    for (Eigenvalue& value : method.cycle.eigenvalues) {
        // A printed "-0" says nothing the reader needs.
        value.re = value.re == 0.0 ? 0.0 : value.re;
        value.im = value.im == 0.0 ? 0.0 : value.im;
    }
    method.zero_stable_known = method.cycle.decided;
    method.zero_stable = method.cycle.zero_stable;
}

// The method as a whole: its order (for CI with the exact raise) and its
// zero-stability (for CI the cycle's).
void analyse_whole_method(int k, AnalysisWorkspace& workspace, MethodAnalysis& method) {
    const MethodOrder order = method_order(k, method.m, method.kind == MethodKind::CYCLIC,
                                           workspace.orders, workspace.chosen);
    method.order_known = order.computable;
    method.order = order.order;
    method.raise_computed = order.raise_computed;
    method.raise_refused = order.raise_refused;
    method.dimension = order.raise_refused ? std::max(k, static_cast<int>(workspace.chosen.size()))
                                           : order.dimension;
    method.rank = order.rank;
    method.raised = order.raised;
    method.cycle = CycleAnalysis{};
    if (method.kind == MethodKind::CYCLIC) {
        analyse_cycle(k, workspace, method);
    } else {
        method.zero_stable_known = true;
        method.zero_stable =
            std::all_of(method.algorithms.begin(), method.algorithms.end(),
                        [](const AlgorithmAnalysis& algorithm) { return algorithm.zero_stable; });
    }
}

} // namespace

AnalysisOutcome analyse_method(MethodKind kind, std::span<const std::string> names,
                               const AnalysisOptions& options, AnalysisWorkspace& workspace,
                               MethodAnalysis& method) {
    AnalysisOutcome outcome = load(names, workspace);
    if (outcome.failed()) {
        return outcome;
    }
    const int m = workspace.files[0].m;
    // Left to us: ordimet analyses composite and cyclic methods for m = 1
    // only and ends such a run with a message; here it is an error of the
    // method (exit status 1) rather than a half report, so that scripts see
    // one clear answer.
    if (kind != MethodKind::SIMPLE && m > 1) {
        return refusal(Failure::ORDER_ABOVE_ONE, "", 0);
    }
    const int written_k = workspace.files[0].k;
    const int s = reduce_step(workspace);
    const int k = written_k - s;
    // Left to us: beyond MAX_EXACT_STEP the exact analyses would take seconds;
    // the whole method is refused with a message rather than reported with
    // its exact half missing.
    if (k > MAX_EXACT_STEP) {
        return refusal(Failure::STEP_BEYOND_EXACT_LIMIT, "", k);
    }
    method.kind = kind;
    method.files.assign(names.begin(), names.end());
    method.m = m;
    method.written_k = written_k;
    method.k = k;
    const std::size_t c = workspace.files.size();
    method.algorithms.resize(c);
    workspace.chosen.resize(c);
    workspace.orders.resize(c);
    for (std::size_t a = 0; a < c; ++a) {
        AlgorithmAnalysis& algorithm = method.algorithms[a];
        algorithm = AlgorithmAnalysis{};
        algorithm.file = names[a];
        const Failure failure =
            analyse_algorithm(a, written_k, s, m, options.stability, workspace, algorithm);
        if (failure != Failure::NONE) {
            return refusal(failure, names[a], 0);
        }
    }
    analyse_whole_method(k, workspace, method);
    decide_convergence_order(k, workspace, method);
    method.convergence.clear();
    if (options.converge) {
        measure_method_convergence(k, workspace, method);
    }
    method.test = ExponentialTest{};
    run_tolerance_analyses(kind, m, workspace, method);
    compare_with_tolerance(kind, m, method);
    return outcome;
}

} // namespace ordimet::analyse

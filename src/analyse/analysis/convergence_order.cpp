// The order of a method's global error and, with --converge, its
// measurement by integration.

#include "analyse/analysis/stages.hpp"
#include "analyse/cycle/cycle.hpp"

#include <algorithm>
#include <cmath>

namespace ordimet::analyse {
namespace {

// Why the method has no convergence order, if it has none.
NoConvergenceOrder missing_order(const MethodAnalysis& method) {
    const bool every_order =
        std::all_of(method.algorithms.begin(), method.algorithms.end(),
                    [](const AlgorithmAnalysis& a) { return a.error_index >= 0; });
    if (!every_order) {
        return NoConvergenceOrder::NO_ORDER;
    }
    if (!method.zero_stable_known) {
        return NoConvergenceOrder::NOT_DECIDED;
    }
    return method.zero_stable ? NoConvergenceOrder::NONE : NoConvergenceOrder::NOT_ZERO_STABLE;
}

// The smallest measured order over a method's runs (NaN counts as lowest).
double weakest(const std::vector<ConvergenceRun>& runs) {
    double lowest = INFINITY;
    for (const ConvergenceRun& run : runs) {
        lowest = std::isnan(run.measured_order) ? -INFINITY : std::min(lowest, run.measured_order);
    }
    return lowest;
}

} // namespace

void decide_convergence_order(int k, const AnalysisWorkspace& workspace, MethodAnalysis& method) {
    method.no_convergence_order = missing_order(method);
    method.convergence_order_known = method.no_convergence_order == NoConvergenceOrder::NONE;
    method.order_disagreement = OrderDisagreement::NONE;
    if (!method.convergence_order_known) {
        method.convergent = false;
        return;
    }
    if (method.kind == MethodKind::CYCLIC) {
        const CycleOrder cycle = cycle_order(k, workspace.chosen, workspace.orders);
        method.convergence_order = cycle.order;
        if (method.order_known && method.order != cycle.order) {
            method.order_disagreement =
                cycle.raised ? OrderDisagreement::MISSED_RAISE : OrderDisagreement::FALSE_RAISE;
        }
    } else {
        method.convergence_order = method.algorithms[0].order;
        for (const AlgorithmAnalysis& algorithm : method.algorithms) {
            method.convergence_order = std::min(method.convergence_order, algorithm.order);
        }
    }
    method.convergent = method.convergence_order >= 1;
}

void measure_method_convergence(int k, const AnalysisWorkspace& workspace, MethodAnalysis& method) {
    if (method.kind != MethodKind::COMPOSITE) {
        method.convergence =
            measure_convergence(k, method.m, method.kind == MethodKind::CYCLIC, workspace.chosen);
        return;
    }
    for (std::size_t a = 0; a < method.algorithms.size(); ++a) {
        AlgorithmAnalysis& algorithm = method.algorithms[a];
        algorithm.convergence =
            measure_convergence(k, method.m, false, std::span(&workspace.chosen[a], 1));
        if (a == 0 || weakest(algorithm.convergence) < weakest(method.convergence)) {
            method.convergence = algorithm.convergence;
        }
    }
}

} // namespace ordimet::analyse

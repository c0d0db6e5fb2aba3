#pragma once

// The analysis of one method: its files read exactly, the step reduced, every
// algorithm analysed under the reading that satisfies the most order
// conditions, the method's order and zero-stability, and ordimet's own
// analyses on its doubles beside them.

#include "analyse/model/failure.hpp"
#include "analyse/model/method.hpp"
#include "analyse/order/order.hpp"
#include "analyse/reading/reading.hpp"
#include "consistency/consistency.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ordimet::analyse {

// What the analysis of one method keeps between calls, so that a batch
// reuses its memory.
struct AnalysisWorkspace {
    std::vector<ExactMethodFile> files;
    std::vector<const char*> names;
    std::vector<Coefficients> written;  // after the exact step reduction
    std::vector<Coefficients> intended; // likewise, for the fraction reading
    std::vector<Coefficients> chosen;
    std::vector<ExactOrder> orders;
    std::vector<double> values; // ordimet's doubles, one set after the other
    std::vector<double*> rows;  // ordimet's coefficient table over them
    std::vector<AlgorithmResult> results;
};
// What the analysis of a method includes beyond what it always does.
struct AnalysisOptions {
    // The linear stability analyses; without them every algorithm's
    // `stability_analysed` is false.
    bool stability = true;
    // The integration of the method on its test problems (--converge).
    bool converge = false;
};

// Analyses the method of the given kind made of the named files. On failure
// the outcome names it and `method` is incomplete.
AnalysisOutcome analyse_method(MethodKind kind, std::span<const std::string> names,
                               const AnalysisOptions& options, AnalysisWorkspace& workspace,
                               MethodAnalysis& method);

} // namespace ordimet::analyse

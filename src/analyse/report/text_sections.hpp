#pragma once

// The sections of the text report, written by report_text.cpp and the files
// beside it.

#include "analyse/model/method.hpp"
#include "analyse/report/text_out.hpp"

namespace ordimet::analyse {

// The roots of rho, the algorithm's zero-stability and whether it is
// convergent.
void append_roots_and_stability(const AlgorithmAnalysis& algorithm, int m, TextOut& text);

// The linear stability on the test equation of m (1 or 2).
void append_linear_stability(const AlgorithmAnalysis& algorithm, int m, TextOut& text);

// The cycle's matrix, its eigenvalues and its zero-stability.
void append_cycle(const CycleAnalysis& cycle, TextOut& text);

// The convergence order of the method, why it has none, and how it differs
// from the rank test's order.
void append_convergence_order(const MethodAnalysis& method, TextOut& text);

// The errors of the integrations of --converge, with the observed and
// measured orders, beside the convergence order when it is known.
void append_measured_convergence(const std::vector<ConvergenceRun>& runs, bool order_known,
                                 std::int64_t order, TextOut& text);

} // namespace ordimet::analyse

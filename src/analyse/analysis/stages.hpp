#pragma once

// The stages of analyse_method, each a procedure with its contract; they
// share the workspace, which holds every algorithm's coefficients.

#include "analyse/analysis/analysis.hpp"

#include <cstddef>

namespace ordimet::analyse {

// Analyses algorithm `a` of a method whose files have the step written_k,
// reduced by s leading columns to k = written_k - s, for y^(m) = f: chooses
// the reading of its coefficients that satisfies the most order conditions,
// and fills `algorithm` with its exact order, its polynomials and their
// common factor, the roots of rho and, with `stability`, its linear
// stability. workspace.chosen[a] and workspace.orders[a] get the reading
// chosen and its order. Returns COEFFICIENTS_BEYOND_EXACT_LIMIT or
// ROOTS_BEYOND_EXACT_LIMIT when the exact analyses refuse the algorithm, and
// Failure::NONE otherwise.
Failure analyse_algorithm(std::size_t a, int written_k, int s, int m, bool stability,
                          AnalysisWorkspace& workspace, AlgorithmAnalysis& algorithm);

// The readings of algorithm a's coefficients (as written, as fractions,
// solved) and the one that satisfies the most order conditions, which leads
// (the earliest of those that tie): `algorithm` gets the readings tried and
// the one chosen, workspace.chosen[a] its coefficients and
// workspace.orders[a] its exact order.
void choose_reading(std::size_t a, int written_k, int s, int m, AnalysisWorkspace& workspace,
                    AlgorithmAnalysis& algorithm);

// ordimet's own analyses on its doubles, in its order: step reduction,
// consistency with its tolerance, method order, for a cyclic method the
// raise from the augmented matrix, and the exponential test where ordimet
// runs it. Fills the tolerance figures and `method.test`.
void run_tolerance_analyses(MethodKind kind, int m, AnalysisWorkspace& workspace,
                            MethodAnalysis& method);

// The order of the method's global error (its convergence order) once its
// orders and zero-stability are known, why it has none, how it differs
// from the rank test's order of a cyclic method, and `convergent`.
void decide_convergence_order(int k, const AnalysisWorkspace& workspace, MethodAnalysis& method);

// The method integrated on its test problems: SI and CI as a whole, CO
// each algorithm on its own.
void measure_method_convergence(int k, const AnalysisWorkspace& workspace, MethodAnalysis& method);

// Sets beside the exact results what ordimet's figures say of them: for
// every algorithm whether only fractions written out give the order ordimet
// suggests, and why the exponential test disagrees with the root condition
// (or the cycle's zero-stability), if it does.
void compare_with_tolerance(MethodKind kind, int m, MethodAnalysis& method);

} // namespace ordimet::analyse

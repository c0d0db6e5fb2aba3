#pragma once

// Consistency analysis: step reduction, the consistency of every algorithm
// and of the whole method, with their reports.

#include "methodfile/methodfile.hpp"

#include <cstdint>

namespace ordimet {

// A computed magnitude below this counts as zero; one equal to it does not.
inline constexpr double ZERO_TOLERANCE = 1e-6;

// The error index of an algorithm whose consistency can't be computed.
inline constexpr int NOT_COMPUTABLE = -2;

// The consistency of one algorithm.
struct AlgorithmResult {
    std::int32_t implicit;    // 1 when B[k] is not 0.0, else 0
    std::int32_t error_index; // q, or NOT_COMPUTABLE
    double error_coefficient; // C_q
    double error_constant;    // C_q / (B[0] + ... + B[k])
};

// Removes the leading coefficient columns that are zero in every set and
// lowers k by their number, compacting every set in place.
void reduce_step(int& k, int c, CoefficientTable table);

// Fills results[0 .. c-1] with the consistency of each algorithm.
void analyse_algorithms(int k, int m, int c, CoefficientTable table, AlgorithmResult* results);

// Prints the per-algorithm report.
void report_algorithms(int m, int c, const AlgorithmResult* results);

// Lowers every error index to the method's q (the smallest), clearing the
// error coefficient of the records that are lowered.
void method_consistency(int c, AlgorithmResult* results);

// Prints the verdict on the whole method with its q.
void report_method_consistency(int m, int q);

} // namespace ordimet

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

// The largest n whose factorial a 64-bit signed integer holds (20!).
inline constexpr int MAX_EXACT_FACTORIAL = 20;

// The smallest n whose factorial overflows a double to infinity (171!).
inline constexpr int FIRST_INFINITE_FACTORIAL = 171;

// What factorial returns for an n whose factorial doesn't fit.
inline constexpr std::int64_t FACTORIAL_TOO_LARGE = -1;

// n!, computed exactly as the running product 1 * n * (n-1) * ... * 1; 1 for
// every n <= 0. For n above MAX_EXACT_FACTORIAL the product doesn't fit and
// the result is FACTORIAL_TOO_LARGE.
std::int64_t factorial(int n);

// n! as the double the error coefficients are divided by: the double nearest
// to the exact n! (exact up to 22!, rounded once beyond), infinity from 171!
// on, 1 for every n <= 0.
double factorial_as_double(std::int64_t n);

// The consistency of one algorithm with step count k and equation order m,
// whose set holds A[0..k] then B[0..k]. Writes the flag and the two doubles of
// its AlgorithmResult and returns its error index (q or NOT_COMPUTABLE).
int algorithm_consistency(int k, int m, const double* set, std::int32_t& implicit,
                          double& error_coefficient, double& error_constant);

// Fills results[0 .. c-1] with the consistency of each algorithm.
void analyse_algorithms(int k, int m, int c, ConstRowTable table, AlgorithmResult* results);

// Prints the per-algorithm report.
void report_algorithms(int m, int c, const AlgorithmResult* results);

// Lowers every error index to the method's q (the smallest), clearing the
// error coefficient of the records that are lowered.
void method_consistency(int c, AlgorithmResult* results);

// The method's q, once method_consistency has run: every record then holds
// it, and the first one is where it is read.
inline int method_error_index(const AlgorithmResult* results) {
    return results[0].error_index;
}

// Prints the verdict on the whole method with its q.
void report_method_consistency(int m, int q);

} // namespace ordimet

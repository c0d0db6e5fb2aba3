// The cost of one algorithm's consistency on the inputs that make its scan
// longest: the largest accepted step count, a huge equation order, and sets
// whose error coefficients never reach the tolerance.

#include "consistency/consistency.hpp"

#include <benchmark/benchmark.h>
#include <climits>
#include <cstddef>
#include <vector>

namespace {

// C_0 and C_m are 5e-7 in magnitude and every other C_i is 0 or NaN, so the
// scan runs to its end with every power computed for the small indices.
std::vector<double> never_stopping(int k) {
    std::vector<double> set(2 * static_cast<std::size_t>(k) + 2, 0.0);
    set[0] = 5e-7;
    set[static_cast<std::size_t>(k) + 1] = 5e-7;
    return set;
}

void run(benchmark::State& state, int k, int m, const std::vector<double>& set) {
    std::int32_t implicit = 0;
    double coefficient = 0.0;
    double constant = 0.0;
    for (auto _ : state) {
        int q = ordimet::algorithm_consistency(k, m, set.data(), implicit, coefficient, constant);
        benchmark::DoNotOptimize(q);
        benchmark::DoNotOptimize(coefficient);
    }
}

void LongestStep(benchmark::State& state) {
    const int k = ordimet::MAX_STEP_COUNT;
    run(state, k, static_cast<int>(state.range(0)), never_stopping(k));
}
BENCHMARK(LongestStep)->Arg(1)->Arg(100)->Arg(INT_MAX)->Unit(benchmark::kMillisecond);

// k = 1, A = 0, 8e-7, B = 8e-7, 0: no C_i ever reaches the tolerance.
void NeverEndingExample(benchmark::State& state) {
    run(state, 1, static_cast<int>(state.range(0)), {0, 8e-7, 8e-7, 0});
}
BENCHMARK(NeverEndingExample)->Arg(1)->Arg(INT_MAX)->Unit(benchmark::kMicrosecond);

// An ordinary method for comparison: q = 6 is found at once.
void Numerov(benchmark::State& state) {
    run(state, 2, 2, {1, -2, 1, 0.0833333333, 0.8333333333, 0.0833333333});
}
BENCHMARK(Numerov)->Unit(benchmark::kMicrosecond);

} // namespace

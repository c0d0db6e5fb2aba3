// The cost of the exponential stability test, from Euler's method up to the
// largest accepted step count and the largest number of algorithms in turn.

#include "stability/stability.hpp"

#include <benchmark/benchmark.h>
#include <cstddef>
#include <vector>

namespace {

// c copies of a k-step method with A[k-1] = -1, A[k] = 1 and B[k-1] = 1
// (Euler's method written with k steps): every step does the full work.
void StabilityTest(benchmark::State& state) {
    const int k = static_cast<int>(state.range(0));
    const int c = static_cast<int>(state.range(1));
    const std::size_t size = 2 * static_cast<std::size_t>(k) + 2;
    std::vector<std::vector<double>> sets(static_cast<std::size_t>(c), std::vector<double>(size));
    std::vector<double*> table;
    for (auto& set : sets) {
        set[static_cast<std::size_t>(k) - 1] = -1.0;
        set[static_cast<std::size_t>(k)] = 1.0;
        set[2 * static_cast<std::size_t>(k)] = 1.0;
        table.push_back(set.data());
    }
    for (auto _ : state) {
        double larger = 0.0;
        double smaller = 0.0;
        const int code =
            ordimet::exponential_stability_test(1.0, 1, k, 1, c, larger, smaller, table.data());
        benchmark::DoNotOptimize(code);
        benchmark::DoNotOptimize(smaller);
    }
}
BENCHMARK(StabilityTest)
    ->Args({1, 1})
    ->Args({2, 2})
    ->Args({50, 1})
    ->Args({100, 1})
    ->Args({ordimet::MAX_STEP_COUNT, 1})
    ->Args({1, 65536})
    ->Unit(benchmark::kMicrosecond);

} // namespace

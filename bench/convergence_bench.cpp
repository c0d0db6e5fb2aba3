// Convergence measured by integration: every test problem of a method at
// eight step sizes (h = 1/20 .. 1/2560, or 2 pi / 20 .. 2 pi / 2560), with
// the precision raised until two integrations agree. Methods of step at most 8
// and order at most 10 (the goal: 20 ms each), and Adams-Moulton 9 (order
// 10, at 512 bits) beside them; the coefficients are exact fractions.

#include "analyse/convergence/convergence.hpp"
#include "analyse/reading/reading.hpp"

#include <benchmark/benchmark.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace ordimet::analyse;

const char* const METHODS[] = {"adams-bashforth-8", "adams-moulton-8",         "bdf-6",
                               "numerov",           "nystrom-2 milne-simpson", "adams-moulton-9"};

struct Method {
    int k = 0;
    int m = 0;
    std::vector<Coefficients> algorithms;
};

// The method of the named fraction files (a cycle: several names).
Method load(const std::string& names) {
    Method method;
    std::istringstream list(names);
    for (std::string name; list >> name;) {
        const std::string path = std::string(CONVERGENCE_DATA) + "/" + name + ".txt";
        ExactMethodFile file;
        read_exact_method_file(path.c_str(), file);
        method.k = file.k;
        method.m = file.m;
        Coefficients& algorithm = method.algorithms.emplace_back();
        for (const CoefficientReading& coefficient : file.coefficients) {
            algorithm.push_back(coefficient.as_written);
        }
    }
    return method;
}

void BM_convergence(benchmark::State& state) {
    const std::string names = METHODS[state.range(0)];
    const Method method = load(names);
    state.SetLabel(names);
    for (auto _ : state) {
        std::vector<ConvergenceRun> runs = measure_convergence(
            method.k, method.m, method.algorithms.size() > 1, method.algorithms);
        benchmark::DoNotOptimize(runs);
    }
}

} // namespace

BENCHMARK(BM_convergence)->DenseRange(0, std::size(METHODS) - 1, 1)->Unit(benchmark::kMillisecond);

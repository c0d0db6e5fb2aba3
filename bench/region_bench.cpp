// The linear stability analyses of one algorithm: the real stability
// interval, A-stability and the A(alpha) angle for y' = f, the intervals of
// periodicity and absolute stability and the phase lag for y'' = f. Example
// methods of step at most 8, in both readings of their coefficients: the
// fractions they stand for, and the decimals as written (17 significant
// digits make integers of about 60 bits, the costly case).

#include "analyse/linear/linear_stability.hpp"
#include "analyse/reading/reading.hpp"

#include <benchmark/benchmark.h>
#include <span>
#include <string>
#include <vector>

namespace {

using namespace ordimet::analyse;

const char* const METHODS[] = {"adams-bashforth-8", "adams-moulton-8", "bdf-5",   "bdf-6",
                               "milne-simpson",     "stormer",         "numerov", "stormer-6",
                               "cowell-6"};

struct Loaded {
    int m = 0;
    std::vector<Rational> rho;
    std::vector<Rational> sigma;
};

Loaded load(const std::string& name, bool intended) {
    const std::string path = std::string(EXAMPLES_DIR) + "/" + name + ".txt";
    const char* names[] = {path.c_str()};
    std::vector<ExactMethodFile> files;
    std::size_t failing = 0;
    Loaded result;
    if (load_exact_method_files(names, files, failing) != Failure::NONE) {
        return result;
    }
    const ExactMethodFile& file = files[0];
    result.m = file.m;
    const std::size_t length = static_cast<std::size_t>(file.k) + 1;
    for (std::size_t j = 0; j < 2 * length; ++j) {
        const CoefficientReading& c = file.coefficients[j];
        (j < length ? result.rho : result.sigma).push_back(intended ? c.intended : c.as_written);
    }
    return result;
}

void BM_region(benchmark::State& state) {
    const std::string name = METHODS[state.range(0)];
    const Loaded method = load(name, state.range(1) != 0);
    state.SetLabel(name + (state.range(1) != 0 ? " (fractions)" : " (as written)"));
    for (auto _ : state) {
        if (method.m == 1) {
            AbsoluteStability result = absolute_stability(method.rho, method.sigma);
            benchmark::DoNotOptimize(result);
        } else {
            Periodicity result = periodicity(method.rho, method.sigma);
            benchmark::DoNotOptimize(result);
        }
    }
}

} // namespace

BENCHMARK(BM_region)
    ->ArgsProduct({benchmark::CreateDenseRange(0, std::size(METHODS) - 1, 1), {1, 0}})
    ->Unit(benchmark::kMillisecond);

// A family member made by ordimet-design: the free coefficients solved for
// the highest order, the exact order and error constant found again, and
// the text of the method file, as the program does for one request. The
// goal is under 10 ms for every family of step at most 20; the largest step
// built (MAX_DESIGN_STEP) and the largest equation order show where the
// limits stand.

#include "design/families/families.hpp"
#include "design/families/polynomial_text.hpp"
#include "design/output/method_files.hpp"

#include <benchmark/benchmark.h>
#include <string>

namespace {

using namespace ordimet::design;

void BM_family(benchmark::State& state) {
    DesignRequest request;
    request.family = static_cast<Family>(state.range(0));
    request.k = static_cast<int>(state.range(1));
    request.m = static_cast<int>(state.range(2));
    state.SetLabel(std::string(family_rule(request.family).name) + " " + std::to_string(request.k) +
                   " m = " + std::to_string(request.m));
    for (auto _ : state) {
        const DesignedMethod method = design_method(request);
        std::string text = method_file_text(method.k, method.m, method.coefficients, false);
        benchmark::DoNotOptimize(text);
    }
}

void family_arguments(benchmark::internal::Benchmark* bench) {
    for (const long k : {8L, 20L, long{MAX_DESIGN_STEP}}) {
        for (const Family family : {Family::ADAMS_BASHFORTH, Family::ADAMS_MOULTON, Family::BDF,
                                    Family::NYSTROM, Family::MILNE_SIMPSON}) {
            bench->Args({static_cast<long>(family), k, 1});
        }
        for (const long m : {2L, 4L, long{MAX_EQUATION_ORDER}}) {
            bench->Args({static_cast<long>(Family::STORMER), std::max(k, m), m});
            bench->Args({static_cast<long>(Family::COWELL), std::max(k, m), m});
        }
    }
}

BENCHMARK(BM_family)->Apply(family_arguments)->Unit(benchmark::kMillisecond);

// A symmetric method for y'' = f, whose rho (the double root 1 and K - 2
// distinct roots on the circle, (c, 1) for c = -(K-2)/K, ...) is first
// checked exactly: symmetric, its roots located on the circle.
void BM_symmetric(benchmark::State& state) {
    DesignRequest request;
    request.family = Family::SYMMETRIC;
    request.k = static_cast<int>(state.range(0));
    request.m = 2;
    std::string roots = "1 1";
    for (int j = 1; j < request.k / 2; ++j) {
        roots +=
            " (" + std::to_string(2 * j - request.k / 2) + "/" + std::to_string(request.k) + ",1)";
    }
    std::string bad;
    parse_roots(roots, request.polynomial, bad);
    for (auto _ : state) {
        const DesignedMethod method = design_method(request);
        benchmark::DoNotOptimize(method.status);
    }
}

BENCHMARK(BM_symmetric)->Arg(8)->Arg(20)->Arg(MAX_DESIGN_STEP)->Unit(benchmark::kMillisecond);

// The decimals of a method: the exact decimal or the nearest double of each
// coefficient.
void BM_decimals(benchmark::State& state) {
    DesignRequest request;
    request.family = Family::COWELL;
    request.k = static_cast<int>(state.range(0));
    request.m = 2;
    const DesignedMethod method = design_method(request);
    for (auto _ : state) {
        std::string text = method_file_text(method.k, method.m, method.coefficients, true);
        benchmark::DoNotOptimize(text);
    }
}

BENCHMARK(BM_decimals)->Arg(8)->Arg(20)->Arg(MAX_DESIGN_STEP)->Unit(benchmark::kMicrosecond);

} // namespace

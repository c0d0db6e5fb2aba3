// The exact analyses of one algorithm as a batch run makes them: step
// reduction, exact order and error constant, rho and sigma with their common
// factor, and the certified root condition; the zero-stability of a cycle;
// and the pictures of --plot (sampling and SVG text, not the files). Families of step at most 8, as
// written in papers (fractions), as 17-digit decimals, and randomly perturbed.

#include "analyse/cycle/cycle.hpp"
#include "analyse/exact/numbers.hpp"
#include "analyse/order/order.hpp"
#include "analyse/pictures/pictures.hpp"
#include "analyse/roots/roots.hpp"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using ordimet::analyse::Coefficients;
using ordimet::analyse::Rational;

// "p/q", "n" or a decimal "d.ddd" as an exact rational.
Rational fraction(const std::string& text) {
    Rational value;
    const std::size_t point = text.find('.');
    if (point == std::string::npos) {
        fmpq_set_str(value.get(), text.c_str(), 10);
    } else {
        const std::string digits = text.substr(0, point) + text.substr(point + 1);
        const std::string scaled = digits + "/1" + std::string(text.size() - point - 1, '0');
        fmpq_set_str(value.get(), scaled.c_str(), 10);
    }
    fmpq_canonicalise(value.get());
    return value;
}

Coefficients algorithm(const std::string& a, const std::string& b) {
    Coefficients set;
    for (const std::string* text : {&a, &b}) {
        std::istringstream in(*text);
        std::string word;
        while (in >> word) {
            set.push_back(fraction(word));
        }
    }
    return set;
}

struct Family {
    const char* name;
    int m;
    std::vector<Coefficients> members;
};

std::vector<Family> families() {
    return {
        {"adams_bashforth",
         1,
         {algorithm("0 -1 1", "-1/2 3/2 0"), algorithm("0 0 -1 1", "5/12 -16/12 23/12 0"),
          algorithm("0 0 0 -1 1", "-9/24 37/24 -59/24 55/24 0"),
          algorithm("0 0 0 0 -1 1", "251/720 -1274/720 2616/720 -2774/720 1901/720 0")}},
        {"adams_moulton",
         1,
         {algorithm("0 -1 1", "-1/12 8/12 5/12"), algorithm("0 0 -1 1", "1/24 -5/24 19/24 9/24"),
          algorithm("0 0 0 -1 1", "-19/720 106/720 -264/720 646/720 251/720")}},
        {"bdf",
         1,
         {algorithm("1/3 -4/3 1", "0 0 2/3"), algorithm("-2/11 9/11 -18/11 1", "0 0 0 6/11"),
          algorithm("3/25 -16/25 36/25 -48/25 1", "0 0 0 0 12/25"),
          algorithm("-12/137 75/137 -200/137 300/137 -300/137 1", "0 0 0 0 0 60/137"),
          algorithm("10/147 -72/147 225/147 -400/147 450/147 -360/147 1", "0 0 0 0 0 0 60/147")}},
        {"stormer_cowell",
         2,
         {algorithm("1 -2 1", "0 1 0"), algorithm("1 -2 1", "1/12 10/12 1/12"),
          algorithm("0 1 -2 1", "0 13/12 -2/12 1/12"),
          algorithm("0 0 1 -2 1", "-1/240 4/240 194/240 4/240 -1/240")}},
        // Adams-Bashforth 4 and BDF 4 as a paper's fractions rounded to 17
        // significant digits: large numerators and denominators.
        {"seventeen_digit_decimals",
         1,
         {algorithm("0 0 0 -1 1", "-0.37500000000000000 1.5416666666666667 -2.4583333333333333 "
                                  "2.2916666666666667 0"),
          algorithm("0.12000000000000000 -0.64000000000000000 1.4400000000000000 "
                    "-1.9200000000000000 1",
                    "0 0 0 0 0.48000000000000000")}},
    };
}

// Every coefficient of a BDF or Adams method of step <= 8 moved by a random
// multiple of 1/1000: most lose consistency, and their rho have roots
// anywhere, complex pairs included.
std::vector<Coefficients> perturbed(int count) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> step(1, 8);
    std::uniform_int_distribution<int> shift(-20, 20);
    std::vector<Coefficients> sets;
    for (int n = 0; n < count; ++n) {
        const int k = step(random);
        Coefficients set(2 * static_cast<std::size_t>(k) + 2);
        set[static_cast<std::size_t>(k)] = Rational(1, 1);
        set[static_cast<std::size_t>(k - 1)] = Rational(-1, 1);
        set[2 * static_cast<std::size_t>(k) + 1] = Rational(1, 2);
        for (Rational& value : set) {
            Rational delta(shift(random), 1000);
            fmpq_add(value.get(), value.get(), delta.get());
        }
        sets.push_back(set);
    }
    return sets;
}

// What a batch run computes for one simple method.
void analyse_one(int m, const Coefficients& set) {
    const int k = static_cast<int>(set.size() / 2) - 1;
    const Coefficients one[] = {set};
    const int s = ordimet::analyse::leading_zero_columns(k, one);
    const Coefficients reduced = ordimet::analyse::drop_leading_columns(k, s, set);
    const auto order = ordimet::analyse::exact_order(k - s, m, reduced);
    const auto polys = ordimet::analyse::characteristic_polynomials(k - s, reduced);
    const auto roots = ordimet::analyse::root_condition(k - s, m, polys.rho);
    benchmark::DoNotOptimize(order.error_index);
    benchmark::DoNotOptimize(roots.zero_stable);
}

void BM_family(benchmark::State& state, const Family& family) {
    for (auto _ : state) {
        for (const Coefficients& set : family.members) {
            analyse_one(family.m, set);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(family.members.size()));
}

void BM_perturbed(benchmark::State& state) {
    const std::vector<Coefficients> sets = perturbed(1000);
    for (auto _ : state) {
        for (const Coefficients& set : sets) {
            analyse_one(1, set);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(sets.size()));
}

void BM_cycle(benchmark::State& state) {
    const Coefficients algorithms[] = {algorithm("2 1 -4 1", "0 0 -4 0"),
                                       algorithm("1/4 -5/4 0 1", "0 0 7/4 0")};
    for (auto _ : state) {
        const auto cycle = ordimet::analyse::cycle_stability(3, algorithms);
        benchmark::DoNotOptimize(cycle.zero_stable);
    }
    state.SetItemsProcessed(state.iterations());
}

// The largest step analysed exactly, with a rho of roots spread over the
// disk: the cost of the limit itself.
void BM_largest_step(benchmark::State& state) {
    const int k = ordimet::analyse::MAX_EXACT_STEP;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> value(-9, 9);
    Coefficients set(2 * static_cast<std::size_t>(k) + 2);
    for (Rational& c : set) {
        c = Rational(value(random), 1);
    }
    set[static_cast<std::size_t>(k)] = Rational(100, 1);
    for (auto _ : state) {
        analyse_one(1, set);
    }
}

// Roots too close together for the bounded isolation: (z - 1 - e)(z - 1 + e)
// (z + 1/2) with e = 10^-300, refused; the cost of reaching the refusal.
void BM_roots_too_close(benchmark::State& state) {
    const std::string zeros(600, '0');
    Coefficients rho;
    for (const std::string& text : {std::string(600, '9') + "/2" + zeros, "-1/1" + zeros,
                                    std::string("-3/2"), std::string("1")}) {
        Rational value;
        fmpq_set_str(value.get(), text.c_str(), 10);
        fmpq_canonicalise(value.get());
        rho.push_back(value);
    }
    for (auto _ : state) {
        const auto roots = ordimet::analyse::root_condition(3, 1, rho);
        benchmark::DoNotOptimize(roots.status);
    }
}

// The algorithm record the pictures draw from: rho and sigma (the sampling
// makes their doubles) and the roots of rho.
ordimet::analyse::AlgorithmAnalysis picture_input(int m, const Coefficients& set) {
    using namespace ordimet::analyse;
    const std::size_t k = set.size() / 2 - 1;
    AlgorithmAnalysis algorithm;
    algorithm.file = "bench.txt";
    for (std::size_t j = 0; j <= k; ++j) {
        algorithm.rho.push_back(set[j]);
        algorithm.sigma.push_back(set[k + 1 + j]);
    }
    const auto polys = characteristic_polynomials(static_cast<int>(k), set);
    const auto condition = root_condition(static_cast<int>(k), m, polys.rho);
    algorithm.roots = condition.roots;
    return algorithm;
}

// Everything --plot does for one method but writing the files: the samples,
// the region or branches picture and the roots picture.
void BM_pictures(benchmark::State& state, const Family& family) {
    using namespace ordimet::analyse;
    std::vector<AlgorithmAnalysis> inputs;
    for (const Coefficients& set : family.members) {
        inputs.push_back(picture_input(family.m, set));
    }
    AlgorithmSamples samples;
    const PictureOptions options;
    for (auto _ : state) {
        for (const AlgorithmAnalysis& algorithm : inputs) {
            sample_algorithm(family.m, algorithm, std::nullopt, samples);
            const std::string picture = family.m == 1
                                            ? region_picture(algorithm, samples, options)
                                            : branches_picture(algorithm, samples, options);
            const std::string roots = roots_picture(algorithm, options);
            benchmark::DoNotOptimize(picture.size() + roots.size());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(inputs.size()));
}

// Step 8 for both equations: the perturbed methods of step 8, and the same
// taken as methods for y'' = f.
std::vector<Family> step_eight() {
    std::vector<Family> all{{"step_8_first_order", 1, {}}, {"step_8_second_order", 2, {}}};
    for (const Coefficients& set : perturbed(200)) {
        if (set.size() == 18 && all[0].members.size() < 10) {
            all[0].members.push_back(set);
            all[1].members.push_back(set);
        }
    }
    return all;
}

const bool REGISTERED = [] {
    static const std::vector<Family> all = families();
    for (const Family& family : all) {
        benchmark::RegisterBenchmark((std::string("BM_family/") + family.name).c_str(), BM_family,
                                     family);
        benchmark::RegisterBenchmark((std::string("BM_pictures/") + family.name).c_str(),
                                     BM_pictures, family)
            ->Unit(benchmark::kMillisecond);
    }
    static const std::vector<Family> eight = step_eight();
    for (const Family& family : eight) {
        benchmark::RegisterBenchmark((std::string("BM_pictures/") + family.name).c_str(),
                                     BM_pictures, family)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace

BENCHMARK(BM_perturbed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_cycle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_largest_step)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_roots_too_close)->Unit(benchmark::kMillisecond);

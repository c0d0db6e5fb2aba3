// The search's screening, one thread: candidates screened per second for
// order (built into the space) and zero-stability, the screening's common
// case, on spaces of step 2 to 8 for y' = f and y'' = f; and the same with
// the A-stability or P-stability constraint. Each run walks 20000
// grid points spread over the whole grid (a stride coprime with its
// size), of which those in the range are candidates; the coefficients run
// over -1 to 1 in steps of 1/4.

#include "design/search/screen.hpp"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <numeric>

namespace {

using namespace ordimet::design;

struct Setting {
    int k;
    int m;
    int order;
    bool region; // --a-stable (m = 1) or --p-stable (m = 2)
};

const Setting SETTINGS[] = {
    {2, 1, 2, false}, {4, 1, 4, false}, {6, 1, 5, false}, {8, 1, 6, false},
    {4, 2, 4, false}, {8, 2, 8, false}, {4, 1, 4, true},  {4, 2, 4, true},
};

SearchRequest request_of(const Setting& s) {
    SearchRequest request;
    request.space.k = s.k;
    request.space.m = s.m;
    request.space.order = s.order;
    request.space.low = Rational(-1, 1);
    request.space.high = Rational(1, 1);
    request.space.step = Rational(1, 4);
    request.constraints.a_stable = s.region && s.m == 1;
    request.constraints.p_stable = s.region && s.m == 2;
    return request;
}

void BM_screen(benchmark::State& state) {
    const Setting& setting = SETTINGS[state.range(0)];
    const SearchRequest request = request_of(setting);
    Space space;
    if (build_space(request.space, space) != SpaceOutcome::BUILT) {
        state.SkipWithError("no space");
        return;
    }
    Screener screener(space, request);
    constexpr std::uint64_t CANDIDATES = 20000;
    std::uint64_t stride = space.grid_points / CANDIDATES + 1;
    while (std::gcd(stride, space.grid_points) != 1) {
        ++stride;
    }
    std::uint64_t kept = 0;
    std::uint64_t screened = 0;
    for (auto _ : state) {
        std::uint64_t index = 0;
        for (std::uint64_t i = 0; i < CANDIDATES; ++i) {
            index = (index + stride) % space.grid_points;
            const GridWalk walk(space, index);
            if (!in_range(space, walk.integers())) {
                continue;
            }
            const Screening screening = screener.screen(walk.integers());
            kept += screening.kept ? 1 : 0;
            ++screened;
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(screened));
    state.counters["kept"] = static_cast<double>(kept) / static_cast<double>(screened);
    state.SetLabel("k=" + std::to_string(setting.k) + " m=" + std::to_string(setting.m) +
                   " p=" + std::to_string(setting.order) +
                   (setting.region ? (setting.m == 1 ? " A-stable" : " P-stable") : ""));
}

} // namespace

BENCHMARK(BM_screen)->DenseRange(0, std::size(SETTINGS) - 1, 1)->Unit(benchmark::kMicrosecond);

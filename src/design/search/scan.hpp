#pragma once

// One pass of the screening over the whole grid, on several threads: each
// takes blocks of grid indices in turn, screens them and keeps the best
// candidates it has seen; the passes' results don't depend on the number of
// threads.

#include "design/search/progress.hpp"
#include "design/search/screen.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace ordimet::design {

// A kept candidate by its estimate. The ranking is total: a better score
// first, and of equal scores the lower grid index.
struct Ranked {
    Score score;
    std::uint64_t index = 0;
};

bool ranks_before(const Ranked& a, const Ranked& b);

struct ScanCounts {
    std::uint64_t examined = 0;   // grid points screened
    std::uint64_t candidates = 0; // of them, in range
    std::uint64_t kept = 0;
    std::array<std::uint64_t, DROP_REASONS> dropped{};
};

struct ScanResult {
    ScanCounts counts;
    // The best `capacity` kept candidates that rank after the given one,
    // best first, and how many more there were.
    std::vector<Ranked> best;
    std::uint64_t beyond = 0;
    bool interrupted = false;
};

ScanResult scan_grid(const Space& space, const SearchRequest& request, std::size_t capacity,
                     const std::optional<Ranked>& after, Progress& progress);

} // namespace ordimet::design

#pragma once

// A whole search: the screening of the grid, then the certification of the
// best candidates by their estimates until the best `top` certified ones
// are known. Candidates are certified in the order of their estimates; the
// certification stops when `top` methods are certified and the next
// candidate's estimate is clearly worse than the last of them (for an exact
// objective: worse at all; for an estimated one: by more than the
// estimate's slack). When the candidates kept by one pass run out before
// that, another pass over the grid collects the next ones.

#include "design/search/certify.hpp"
#include "design/search/progress.hpp"
#include "design/search/scan.hpp"

#include <vector>

namespace ordimet::design {

struct SearchOutcome {
    ScanCounts counts; // the screening's, over the grid points screened
    // Candidates certified, and of them those that failed a constraint
    // (by the exact analyses) or could not be decided.
    std::uint64_t certified = 0;
    std::array<std::uint64_t, DROP_REASONS> dropped_certified{};
    std::uint64_t undecided = 0;
    std::vector<Certificate> winners; // best first
    int interruption = 0;             // the signal that stopped the search, or 0
};

SearchOutcome run_search(const Space& space, const SearchRequest& request, Progress& progress);

// Whether a candidate whose estimate is `estimate` can't rank before a
// method certified at `certified`.
bool clearly_worse(Objective objective, const Score& estimate, const Score& certified);

} // namespace ordimet::design

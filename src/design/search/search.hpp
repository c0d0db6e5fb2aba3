#pragma once

// A whole search: the screening of the grid, then the certification of the
// best candidates by their estimates until the best `top` certified ones
// are known. Candidates are certified in the order of their estimates; the
// certification stops when `top` methods are certified and the next
// candidate can't rank before the last of them: for an exact objective
// (whose estimate is exact) when it ranks after it, for an estimated one
// when its estimate is worse by more than the estimate's slack, or when the
// last one has the best value there is (an infinite interval, 90 degrees)
// and the candidate could at most tie with it from a later grid index, or
// when both have none (no interval, no wedge) and the candidate comes from
// a later grid index. When
// the candidates kept by one pass run out before that, another pass over
// the grid collects the next ones.

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
    int passes = 0;                   // over the grid
    int interruption = 0;             // the signal that stopped the search, or 0
};

SearchOutcome run_search(const Space& space, const SearchRequest& request, Progress& progress);

// Whether a candidate (by its estimate) can't rank before the last of the
// methods found so far (by its certified value).
bool clearly_worse(Objective objective, const Ranked& candidate, const Ranked& last);

} // namespace ordimet::design

// The screening pass, the certification of its best candidates, and more
// passes while the certification needs more candidates than one pass kept.

#include "design/search/search.hpp"

#include "analyse/cli/interruption.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ordimet::design {
namespace {

bool certified_before(const Certificate& a, const Certificate& b) {
    return ranks_before({a.score, a.index}, {b.score, b.index});
}

// Certifies the candidates of one pass in order; true when the winners are
// known (the rest can't rank before them). A signal doesn't stop it: the
// best candidates screened so far are certified all the same, which takes
// a moment (a second signal ends the process at once).
bool certify_pass(const Space& space, const SearchRequest& request,
                  const std::vector<Ranked>& candidates, SearchOutcome& outcome) {
    const std::size_t top = static_cast<std::size_t>(request.top);
    for (const Ranked& candidate : candidates) {
        if (outcome.winners.size() >= top &&
            clearly_worse(request.objective, candidate,
                          {outcome.winners.back().score, outcome.winners.back().index})) {
            return true;
        }
        Certificate c = certify(space, request, candidate.index);
        ++outcome.certified;
        if (c.drop != Drop::NONE) {
            ++outcome.dropped_certified[static_cast<std::size_t>(c.drop)];
            continue;
        }
        if (c.undecided) {
            ++outcome.undecided;
            continue;
        }
        const auto at =
            std::upper_bound(outcome.winners.begin(), outcome.winners.end(), c, certified_before);
        outcome.winners.insert(at, std::move(c));
        if (outcome.winners.size() > top) {
            outcome.winners.pop_back();
        }
    }
    return false;
}

} // namespace

bool clearly_worse(Objective objective, const Ranked& candidate, const Ranked& last) {
    if (exact_objective(objective)) {
        // The estimate is the certified value's nearest double, which keeps
        // the order of the exact values: the ranking is the final one.
        return !ranks_before(candidate, last);
    }
    const double best_possible =
        objective == Objective::ALPHA ? 90.0 : std::numeric_limits<double>::infinity();
    const double estimate = candidate.score.primary;
    if (last.score.primary == best_possible) {
        // Nothing ranks above the best value there is; an equal one ranks
        // after it from a later grid index.
        return estimate < best_possible || candidate.index > last.index;
    }
    if (last.score.primary == 0.0 && estimate == 0.0) {
        // No interval or no wedge, as the last method certified: left to
        // us, the estimate is trusted here (it comes from a root seen
        // clearly outside the circle right of 0, or past a crossing of the
        // axis), so that the methods without one rank by grid index instead
        // of every one of them being certified.
        return candidate.index > last.index;
    }
    // Sampled interval ends are within a part in a thousand, angles within
    // half a degree.
    const double slack =
        objective == Objective::ALPHA ? 0.5 : std::max(1e-3 * std::abs(last.score.primary), 1e-9);
    return estimate < last.score.primary - slack;
}

SearchOutcome run_search(const Space& space, const SearchRequest& request, Progress& progress) {
    SearchOutcome outcome;
    std::size_t capacity = 4 * static_cast<std::size_t>(request.top) + 32;
    ScanResult pass = scan_grid(space, request, capacity, std::nullopt, progress);
    outcome.passes = 1;
    outcome.counts = pass.counts;
    if (pass.interrupted) {
        outcome.interruption = analyse::interruption();
    }
    while (!certify_pass(space, request, pass.best, outcome) && pass.beyond > 0) {
        outcome.interruption = analyse::interruption();
        if (outcome.interruption != 0) {
            break;
        }
        // Each further pass keeps four times as many: few passes even when
        // the certification turns down most of what the estimates rank high.
        const Ranked last = pass.best.back();
        capacity *= 4;
        pass = scan_grid(space, request, capacity, last, progress);
        ++outcome.passes;
        if (pass.interrupted) {
            outcome.interruption = analyse::interruption();
        }
    }
    // A signal noted while the last candidates were certified ends the
    // process too, once the report is out.
    outcome.interruption = analyse::interruption();
    return outcome;
}

} // namespace ordimet::design

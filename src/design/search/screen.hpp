#pragma once

// The screening of one candidate: fast, in doubles where doubles suffice to
// keep a candidate, and exact wherever it drops one. A candidate is dropped
// by a constraint only for a reason decided exactly (the root condition of
// rho, a shared factor of rho and sigma, a root outside the circle at a
// rational point, or the exact region analysis); one the estimates can't
// fault is kept, with an estimate of its objective, to be certified if it
// ranks among the best.

#include "design/search/estimates.hpp"
#include "design/search/request.hpp"
#include "design/search/space.hpp"

#include <cstdint>
#include <span>
#include <vector>

namespace ordimet::design {

// The constraints a candidate can fail, each decided exactly.
enum class Drop { NONE, ZERO_STABILITY, IRREDUCIBLE, A_STABILITY, P_STABILITY };
inline constexpr int DROP_REASONS = 5;

// Where a candidate stands for the objective: larger is better, the
// primary value first; -infinity when the objective has no value.
struct Score {
    double primary = 0.0;
    double secondary = 0.0;
};

bool better(const Score& a, const Score& b);

struct Screening {
    bool kept = false;
    Drop drop = Drop::NONE;
    Score estimate;
};

// One per thread: the workspace of the screening.
class Screener {
  public:
    Screener(const Space& space, const SearchRequest& request);
    // A grid point that is a candidate (in_range) by its integers.
    Screening screen(std::span<const std::int64_t> integers);

  private:
    bool zero_stable(std::span<const std::int64_t> rho);
    bool region_kept(Score& estimate);
    void exact_from_integers(std::span<const std::int64_t> integers);

    const Space& space_;
    const SearchRequest& request_;
    std::vector<std::int64_t> quotient_;
    std::vector<double> rho_;
    std::vector<double> sigma_;
    std::vector<Rational> exact_; // the integers as rationals: A then B
    RootsWorkspace roots_;
};

} // namespace ordimet::design

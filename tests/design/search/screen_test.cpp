// The screening drops a candidate only where the exact analyses of
// ordimet-analyse find it failing (and, for zero-stability, keeps none they
// find failing); the search's methods are the best of certifying every
// candidate, in the same order, with one thread or two.

#include "analyse/linear/linear_stability.hpp"
#include "analyse/roots/roots.hpp"
#include "design/search/certify.hpp"
#include "design/search/options.hpp"
#include "design/search/search.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace ordimet::design {
namespace {

enum Flags : unsigned {
    NONE = 0,
    IRREDUCIBLE = 1,
    A_STABLE = 2,
    P_STABLE = 4,
    SYMMETRIC = 8,
    EXPLICIT = 16,
    SIGMA = 32
};

struct Setting {
    const char* name;
    const char* line; // "k m order low high step"
    unsigned flags;
    Objective objective;
    int top;
    const char* zeros;
};

SearchRequest request_of(const Setting& s) {
    SearchRequest request;
    char low[32];
    char high[32];
    char step[32];
    SpaceRequest& space = request.space;
    EXPECT_EQ(std::sscanf(s.line, "%d %d %d %31s %31s %31s", &space.k, &space.m, &space.order, low,
                          high, step),
              6);
    EXPECT_TRUE(parse_rational(low, space.low) && parse_rational(high, space.high) &&
                parse_rational(step, space.step));
    space.varied = (s.flags & SIGMA) != 0 ? Varied::SIGMA : Varied::RHO;
    space.symmetric = (s.flags & SYMMETRIC) != 0;
    space.explicit_method = (s.flags & EXPLICIT) != 0;
    std::string bad;
    EXPECT_TRUE(*s.zeros == '\0' || parse_coefficient_names(s.zeros, space.k, space.zeros, bad));
    request.constraints.irreducible = (s.flags & IRREDUCIBLE) != 0;
    request.constraints.a_stable = (s.flags & A_STABLE) != 0;
    request.constraints.p_stable = (s.flags & P_STABLE) != 0;
    request.objective = s.objective;
    request.top = s.top;
    return request;
}

// Whether the exact analyses find the candidate failing the constraint.
bool fails_exactly(const Space& space, std::span<const std::int64_t> integers, Drop drop) {
    std::vector<Rational> x;
    candidate_coefficients(space, integers, x);
    const std::size_t n = static_cast<std::size_t>(space.k) + 1;
    const std::span<const Rational> all = x;
    switch (drop) {
    case Drop::ZERO_STABILITY:
        return !analyse::root_condition(space.k, space.m, all.first(n)).zero_stable;
    case Drop::IRREDUCIBLE:
        return analyse::characteristic_polynomials(space.k, all).reducible;
    case Drop::A_STABILITY:
        return !analyse::absolute_stability(all.first(n), all.subspan(n)).a_stable;
    case Drop::P_STABILITY:
        return !analyse::periodicity(all.first(n), all.subspan(n)).p_stable;
    case Drop::NONE:
        break;
    }
    return false;
}

constexpr Objective CONSTANT = Objective::ERROR_CONSTANT;

const Setting SCREENED[] = {
    {"3 steps, order 2, A-stable and irreducible", "3 1 2 -1 1 1/2", IRREDUCIBLE | A_STABLE,
     CONSTANT, 10, ""},
    {"4 steps, order 3", "4 1 3 -1 1 1/2", NONE, CONSTANT, 10, ""},
    {"5 steps, order 4, sigma varied", "5 1 4 -1 1 1", SIGMA, CONSTANT, 10, ""},
    {"y'' = f, 4 steps, order 2, P-stable", "4 2 2 -1 1 1/2", P_STABLE, CONSTANT, 10, ""},
    {"y'' = f, 6 symmetric steps, order 4, P-stable", "6 2 4 -2 2 1", SYMMETRIC | P_STABLE,
     CONSTANT, 10, ""},
    {"y''' = f, 5 steps, order 3, sigma varied", "5 3 3 -2 2 1", SIGMA, CONSTANT, 10, ""},
};

TEST(SearchScreening, DropsOnlyWhatTheExactAnalysesDrop) {
    for (const Setting& s : SCREENED) {
        const SearchRequest request = request_of(s);
        Space space;
        ASSERT_EQ(build_space(request.space, space), SpaceOutcome::BUILT) << s.name;
        Screener screener(space, request);
        int dropped = 0;
        for (GridWalk walk(space, 0); walk.index() < space.grid_points; walk.advance()) {
            if (!in_range(space, walk.integers())) {
                continue;
            }
            const Screening screening = screener.screen(walk.integers());
            if (!screening.kept) {
                ++dropped;
                EXPECT_TRUE(fails_exactly(space, walk.integers(), screening.drop))
                    << s.name << ": grid index " << walk.index();
            } else {
                EXPECT_FALSE(fails_exactly(space, walk.integers(), Drop::ZERO_STABILITY))
                    << s.name << ": kept, grid index " << walk.index();
            }
        }
        EXPECT_GT(dropped, 0) << s.name;
    }
}

// Every candidate certified and ranked: the methods the search must find.
std::vector<Certificate> every_candidate_certified(const Space& space,
                                                   const SearchRequest& request) {
    std::vector<Certificate> passing;
    for (GridWalk walk(space, 0); walk.index() < space.grid_points; walk.advance()) {
        if (in_range(space, walk.integers())) {
            Certificate c = certify(space, request, walk.index());
            if (c.drop == Drop::NONE && !c.undecided) {
                passing.push_back(std::move(c));
            }
        }
    }
    std::sort(passing.begin(), passing.end(), [](const Certificate& a, const Certificate& b) {
        return ranks_before({a.score, a.index}, {b.score, b.index});
    });
    passing.resize(std::min(passing.size(), static_cast<std::size_t>(request.top)));
    return passing;
}

std::string ranking(const std::vector<Certificate>& methods) {
    std::string out;
    for (const Certificate& c : methods) {
        char text[80];
        std::snprintf(text, sizeof text, "%llu:%.17g:%.17g ",
                      static_cast<unsigned long long>(c.index), c.score.primary, c.score.secondary);
        out += text;
    }
    return out;
}

const Setting SELECTED[] = {
    {"A-stable, order 2: ties at 1/12", "2 1 2 -1 1 1/8", A_STABLE, CONSTANT, 5, ""},
    {"y''' = f: ties at 1/4", "4 3 2 -4 4 1", NONE, CONSTANT, 3, ""},
    {"real interval, explicit", "3 1 3 -1 1 1/4", EXPLICIT, Objective::REAL_INTERVAL, 3, ""},
    {"A(alpha)", "3 1 3 -1 1 1/4", NONE, Objective::ALPHA, 3, ""},
    {"SSP, explicit", "3 1 2 -1 1 1/4", EXPLICIT, Objective::SSP, 3, ""},
    {"periodicity, symmetric 8 steps", "8 2 8 -2 2 1", EXPLICIT | SYMMETRIC, Objective::PERIODICITY,
     10, "B0,B8"},
    {"absolute stability, infinite ties", "4 2 2 -1 1 1/2", NONE, Objective::ABSOLUTE_STABILITY, 3,
     ""},
    // Order 6: the principal roots within rounding of the circle near x = 0.
    {"absolute stability, order 6", "6 2 6 -1 1 1/2", NONE, Objective::ABSOLUTE_STABILITY, 5, ""},
    {"phase lag, P-stable", "2 2 2 -1 1 1/8", SIGMA | P_STABLE, Objective::PHASE_LAG, 3, ""},
};

TEST(SearchSelection, TheBestOfCertifyingEveryCandidate) {
    for (const Setting& s : SELECTED) {
        SearchRequest request = request_of(s);
        Space space;
        ASSERT_EQ(build_space(request.space, space), SpaceOutcome::BUILT) << s.name;
        Progress progress(analyse::Language::PORTUGUESE);
        const std::string expected = ranking(every_candidate_certified(space, request));
        EXPECT_FALSE(expected.empty()) << s.name;
        const SearchOutcome one = run_search(space, request, progress);
        EXPECT_EQ(ranking(one.winners), expected) << s.name;
        // Two threads: the same methods and the same counts.
        request.jobs = 2;
        const SearchOutcome two = run_search(space, request, progress);
        EXPECT_EQ(ranking(two.winners), expected) << s.name;
        EXPECT_EQ(two.counts.kept, one.counts.kept) << s.name;
        EXPECT_EQ(two.counts.dropped, one.counts.dropped) << s.name;
        EXPECT_EQ(two.certified, one.certified) << s.name;
    }
}

// A further pass collects the candidates ranked after the last one of the
// pass before it: two passes of 5 are the first 10.
TEST(SearchSelection, FurtherPassesContinueTheRanking) {
    const SearchRequest request = request_of({"y''' = f", "4 3 2 -4 4 1", NONE, CONSTANT, 10, ""});
    Space space;
    ASSERT_EQ(build_space(request.space, space), SpaceOutcome::BUILT);
    Progress progress(analyse::Language::PORTUGUESE);
    const ScanResult ten = scan_grid(space, request, 10, std::nullopt, progress);
    const ScanResult first = scan_grid(space, request, 5, std::nullopt, progress);
    const ScanResult second = scan_grid(space, request, 5, first.best.back(), progress);
    ASSERT_EQ(ten.best.size(), 10U);
    EXPECT_EQ(first.beyond, ten.beyond + 5);
    EXPECT_EQ(second.beyond, ten.beyond);
    for (std::size_t i = 0; i < 10; ++i) {
        const Ranked& r = i < 5 ? first.best[i] : second.best[i - 5];
        EXPECT_EQ(r.index, ten.best[i].index) << i;
    }
}

TEST(SearchSelection, WhenTheRestCantRankBefore) {
    const double inf = std::numeric_limits<double>::infinity();
    const Ranked last{{2.0, 0.0}, 50};
    const Ranked last_infinite{{inf, 0.0}, 50};
    // Exact objectives: the ranking itself, ties by grid index.
    EXPECT_TRUE(clearly_worse(Objective::SSP, {{1.0, 0.0}, 10}, last));
    EXPECT_TRUE(clearly_worse(Objective::SSP, {{2.0, 0.0}, 60}, last));
    EXPECT_FALSE(clearly_worse(Objective::SSP, {{2.0, 0.0}, 40}, last));
    EXPECT_FALSE(clearly_worse(Objective::PHASE_LAG, {{6.0, -1.0}, 60}, {{4.0, -0.1}, 1}));
    // Estimated ones: beyond the slack only.
    EXPECT_FALSE(clearly_worse(Objective::PERIODICITY, {{1.9995, 0.0}, 60}, last));
    EXPECT_TRUE(clearly_worse(Objective::PERIODICITY, {{1.99, 0.0}, 60}, last));
    EXPECT_FALSE(clearly_worse(Objective::ALPHA, {{80.0, 0.0}, 60}, {{80.3, 0.0}, 50}));
    EXPECT_TRUE(clearly_worse(Objective::ALPHA, {{79.0, 0.0}, 60}, {{80.3, 0.0}, 50}));
    // Against the best value there is: only a tie from an earlier index.
    EXPECT_TRUE(clearly_worse(Objective::ALPHA, {{90.0, 0.0}, 60}, {{90.0, 0.0}, 50}));
    EXPECT_TRUE(clearly_worse(Objective::REAL_INTERVAL, {{1e300, 0.0}, 10}, last_infinite));
    EXPECT_TRUE(clearly_worse(Objective::REAL_INTERVAL, {{inf, 0.0}, 60}, last_infinite));
    EXPECT_FALSE(clearly_worse(Objective::REAL_INTERVAL, {{inf, 0.0}, 40}, last_infinite));
}

} // namespace
} // namespace ordimet::design

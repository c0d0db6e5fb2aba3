// The space of a search: which coefficients the grid runs over, which are
// determined and must stay in the range, which requests contradict
// themselves; the grid's walk; and that every candidate meets its
// conditions exactly, with the free coefficients on the grid.

#include "analyse/order/order.hpp"
#include "design/search/options.hpp"
#include "design/search/space.hpp"

#include <gtest/gtest.h>
#include <string>

namespace ordimet::design {
namespace {

Rational rational(const char* text) {
    Rational value;
    EXPECT_TRUE(parse_rational(text, value)) << text;
    return value;
}

struct SpaceCase {
    const char* name;
    int k;
    int m;
    int order;
    Varied varied;
    bool explicit_method;
    bool symmetric;
    const char* zeros;
    const char* grid; // "low high step"
    const char* expected;
};

SpaceRequest request_of(const SpaceCase& c) {
    SpaceRequest request;
    request.k = c.k;
    request.m = c.m;
    request.order = c.order;
    request.varied = c.varied;
    request.explicit_method = c.explicit_method;
    request.symmetric = c.symmetric;
    std::string bad;
    if (*c.zeros != '\0') {
        EXPECT_TRUE(parse_coefficient_names(c.zeros, c.k, request.zeros, bad)) << bad;
    }
    char low[32];
    char high[32];
    char step[32];
    EXPECT_EQ(std::sscanf(c.grid, "%31s %31s %31s", low, high, step), 3);
    request.low = rational(low);
    request.high = rational(high);
    request.step = rational(step);
    return request;
}

std::string names(int k, const std::vector<int>& positions) {
    std::string out;
    for (const int position : positions) {
        if (!out.empty()) {
            out += ',';
        }
        out += coefficient_name(k, position);
    }
    return out.empty() ? "-" : out;
}

std::string describe(const SpaceCase& c) {
    Space space;
    switch (build_space(request_of(c), space)) {
    case SpaceOutcome::CONTRADICTORY:
        return "contradictory";
    case SpaceOutcome::GRID_TOO_LARGE:
        return "grid too large";
    case SpaceOutcome::NUMBERS_TOO_LARGE:
        return "numbers too large";
    case SpaceOutcome::BUILT:
        break;
    }
    return "free " + names(c.k, space.parameters) + " ranged " + names(c.k, space.ranged) +
           " points " + std::to_string(space.grid_points);
}

constexpr Varied RHO = Varied::RHO;
constexpr Varied SIGMA = Varied::SIGMA;

const SpaceCase SPACES[] = {
    // rho's low coefficients on the grid, and sigma's B[0] that order 2
    // leaves free; A[1] follows from rho(1) = 0.
    {"two steps, order 2", 2, 1, 2, RHO, false, false, "", "-1 1 1/4",
     "free A[0],B[0] ranged A[1] points 81"},
    {"two steps, order 2, sigma varied", 2, 1, 2, SIGMA, false, false, "", "-1 1 1/4",
     "free B[0],B[1] ranged B[2] points 81"},
    {"the symmetric 8-step space for y'' = f", 8, 2, 8, RHO, true, true, "B0,B8", "-2 2 1",
     "free A[1],A[2],A[3] ranged A[4],A[5],A[6],A[7] points 125"},
    {"BDF 2 alone", 2, 1, 2, RHO, false, false, "B0,B1", "0 0 1", "free - ranged - points 1"},
    {"Milne-Simpson alone: rho antisymmetric for m = 1", 2, 1, 4, RHO, false, true, "", "-1 1 1/4",
     "free - ranged - points 1"},
    {"rho of Adams, sigma of order 3", 3, 1, 3, SIGMA, false, false, "A0,A1", "-1 1 1/2",
     "free B[0] ranged B[1],B[2],B[3] points 5"},
    {"symmetric, m = 1, four steps", 4, 1, 4, RHO, false, true, "", "-1 1 1/2",
     "free A[1],B[0] ranged A[3] points 25"},
    {"y''' = f", 4, 3, 2, RHO, false, false, "", "-4 4 1",
     "free A[0],B[0],B[1],B[2] ranged A[1],A[2],A[3] points 6561"},
    {"order beyond two steps", 2, 1, 5, RHO, false, false, "", "-1 1 1/4", "contradictory"},
    {"A[k] = 0 asked for", 2, 1, 2, RHO, false, false, "A2", "-1 1 1/4", "contradictory"},
    {"explicit one step of order 2", 1, 1, 2, RHO, true, false, "", "-1 1 1/4", "contradictory"},
    {"ten free coefficients of 2001 values", 8, 1, 4, RHO, false, false, "", "-1 1 1/1000",
     "grid too large"},
    {"coefficients beyond 2^40", 1, 1, 1, RHO, false, false, "",
     "0 1125899906842624 562949953421312", "numbers too large"},
};

TEST(SearchSpace, FreeAndDeterminedCoefficients) {
    for (const SpaceCase& c : SPACES) {
        EXPECT_EQ(describe(c), c.expected) << c.name;
    }
}

// Every grid point from its index is the point the walk reaches; every
// candidate has the order asked for and meets the conditions exactly, with
// each free coefficient at low + i step.
TEST(SearchSpace, CandidatesMeetTheirConditions) {
    for (const SpaceCase& c : SPACES) {
        const SpaceRequest request = request_of(c);
        Space space;
        if (build_space(request, space) != SpaceOutcome::BUILT || space.grid_points > 10000) {
            continue;
        }
        GridWalk walk(space, 0);
        std::vector<Rational> x;
        for (std::uint64_t index = 0; index < space.grid_points; ++index, walk.advance()) {
            const GridWalk direct(space, index);
            ASSERT_TRUE(std::equal(walk.integers().begin(), walk.integers().end(),
                                   direct.integers().begin()))
                << c.name << " " << index;
            candidate_coefficients(space, walk.integers(), x);
            const analyse::ExactOrder order = analyse::exact_order(c.k, c.m, x);
            EXPECT_GE(order.order, c.order) << c.name << " " << index;
            EXPECT_TRUE(fmpq_is_one(x[static_cast<std::size_t>(c.k)].get())) << c.name;
            if (c.explicit_method) {
                EXPECT_TRUE(x.back().is_zero()) << c.name;
            }
            for (const int position : request.zeros) {
                EXPECT_TRUE(x[static_cast<std::size_t>(position)].is_zero()) << c.name;
            }
            for (int j = 0; c.symmetric && j <= c.k; ++j) {
                Rational mirror = x[static_cast<std::size_t>(c.k - j)];
                if (c.m % 2 == 1) {
                    fmpq_neg(mirror.get(), mirror.get());
                }
                EXPECT_EQ(x[static_cast<std::size_t>(j)], mirror) << c.name;
                EXPECT_EQ(x[static_cast<std::size_t>(c.k + 1 + j)],
                          x[static_cast<std::size_t>(2 * c.k + 1 - j)])
                    << c.name;
            }
            std::uint64_t rest = index;
            for (std::size_t p = space.parameters.size(); p-- > 0;) {
                Rational expected;
                fmpq_mul_ui(expected.get(), request.step.get(), rest % space.values_per_parameter);
                fmpq_add(expected.get(), expected.get(), request.low.get());
                rest /= space.values_per_parameter;
                EXPECT_EQ(x[static_cast<std::size_t>(space.parameters[p])], expected) << c.name;
            }
        }
    }
}

TEST(SearchOptions, Rationals) {
    const std::pair<const char*, const char*> readable[] = {
        {"1/4", "1/4"},  {"-3/6", "-1/2"},
        {"+2", "2"},     {"0.25", "1/4"},
        {"-.5", "-1/2"}, {"7", "7"},
        {"0/5", "0"},    {"100000000000000000000", "100000000000000000000"},
    };
    for (const auto& [text, value] : readable) {
        EXPECT_EQ(rational(text).text(), value) << text;
    }
    for (const char* text : {"", "1/0", "abc", "1e3", "1/-2", "--1", "1.", "1/2/3", " 1", "0,25",
                             "12345678901234567890123456789012345678901"}) {
        Rational value;
        EXPECT_FALSE(parse_rational(text, value)) << text;
    }
}

TEST(SearchOptions, CoefficientNames) {
    std::vector<int> positions;
    std::string bad;
    EXPECT_TRUE(parse_coefficient_names("B0,B[8],A3", 8, positions, bad));
    EXPECT_EQ(positions, (std::vector<int>{9, 17, 3}));
    for (const char* text : {"C1", "B9", "B", "A-1", "B0,", ",B0", "b0", "B[0", "A0 "}) {
        positions.clear();
        EXPECT_FALSE(parse_coefficient_names(text, 8, positions, bad)) << text;
    }
}

} // namespace
} // namespace ordimet::design

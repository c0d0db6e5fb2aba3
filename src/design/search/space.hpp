#pragma once

// The space of a search made exact: the method is normalised by A[k] = 1,
// and its constraints (the order conditions C_0 .. C_{p+m-1} = 0, B[k] = 0
// for an explicit method, the symmetry A[j] = (-1)^m A[k-j], B[j] = B[k-j],
// the coefficients asked to be 0) are one affine system in the 2k + 2
// coefficients, brought to reduced row echelon form in rational arithmetic.
// Its columns are ordered with the polynomial that is not varied first and,
// within each polynomial, from the highest index down, so that the pivots
// fall on the other polynomial wherever they can and on the high
// coefficients of the varied one: the coefficients left free (the non-pivot
// columns) are the low coefficients of the varied polynomial, and those of
// the other one that the order leaves free. Every free coefficient runs
// over the grid low, low + step, ..., high; a point of the grid is a
// candidate when every coefficient of the varied polynomial that the free
// ones determine (not those that are constant over the space, as A[k] = 1)
// lies in [low, high] too.
//
// A candidate is kept as integers: its coefficients times one common
// denominator D, D x = base + sum_p i_p step_p, where i_p counts the grid
// steps of free coefficient p from low.

#include "design/search/request.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ordimet::design {

// The largest grid searched (some days of screening on two cores), and the
// largest integer of a candidate's coefficients times D: the screening
// deflates rho by (z - 1)^m in 64-bit integers, which stays exact below it.
inline constexpr std::uint64_t MAX_GRID_POINTS = 10'000'000'000ULL;
inline constexpr std::int64_t MAX_CANDIDATE_INTEGER = std::int64_t{1} << 40;

struct Space {
    int k = 0;
    int m = 1;
    int order = 1;
    Varied varied = Varied::RHO;
    int coefficients = 0; // 2k + 2
    // The coefficient position of each free coefficient, ascending; the
    // first is the most significant digit of a grid index.
    std::vector<int> parameters;
    std::uint64_t values_per_parameter = 1; // (high - low) / step + 1
    std::uint64_t grid_points = 1;          // values_per_parameter ^ parameters
    std::int64_t denominator = 1;           // D
    std::vector<std::int64_t> base;         // D x at every i_p = 0
    std::vector<std::vector<std::int64_t>> steps;
    // Positions of the varied polynomial's coefficients that depend on the
    // free ones, and the range they must lie in, times D.
    std::vector<int> ranged;
    std::int64_t low = 0;
    std::int64_t high = 0;
};

enum class SpaceOutcome {
    BUILT,
    CONTRADICTORY, // the constraints have no solution
    GRID_TOO_LARGE,
    NUMBERS_TOO_LARGE, // a candidate's integers would pass MAX_CANDIDATE_INTEGER
};

SpaceOutcome build_space(const SpaceRequest& request, Space& space);

// The name of a coefficient position: "A[j]" or "B[j]".
std::string coefficient_name(int k, int position);

// Whether a coefficient position belongs to the varied polynomial.
bool in_varied(const Space& space, int position);

// Walks the grid from a given index, keeping the candidate's integers.
class GridWalk {
  public:
    GridWalk(const Space& space, std::uint64_t index);
    std::span<const std::int64_t> integers() const { return values_; }
    std::uint64_t index() const { return index_; }
    // The next grid point (index + 1); the walk ends past the last one.
    void advance();

  private:
    const Space& space_;
    std::uint64_t index_;
    std::vector<std::uint64_t> digits_;
    std::vector<std::int64_t> values_;
};

// Whether the determined coefficients of the varied polynomial lie in the
// range: whether a grid point is a candidate.
bool in_range(const Space& space, std::span<const std::int64_t> integers);

// The candidate's coefficients A[0..k], B[0..k]: the integers over D.
void candidate_coefficients(const Space& space, std::span<const std::int64_t> integers,
                            std::vector<Rational>& out);

} // namespace ordimet::design

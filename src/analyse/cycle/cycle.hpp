#pragma once

// A cyclic method (m = 1) as a whole: the product of its algorithms'
// companion matrices at h = 0, its eigenvalues and the cycle's
// zero-stability.

#include "analyse/exact/coefficients.hpp"
#include "analyse/roots/roots.hpp"

#include <span>
#include <vector>

namespace ordimet::analyse {

// --- Zero-stability of a cycle (m = 1) -------------------------------------

// The entries of the cycle's matrix grow with every algorithm, and its
// characteristic polynomial k times more: the cycle is analysed exactly
// only while k / (k + 1) times the sum over the algorithms of the cleared
// size of their A coefficients stays within this. Two algorithms of step 8
// with 17-digit decimals use about 2000.
inline constexpr long MAX_CYCLE_BITS = 1L << 14;

struct Eigenvalue {
    double re = 0.0;
    double im = 0.0;
    int multiplicity = 1;         // in the characteristic polynomial
    int minimal_multiplicity = 1; // in the minimal polynomial; 1 = semisimple
    Location location = Location::INSIDE;
};

enum class CycleStatus {
    DECIDED,
    NO_LEADING_COEFFICIENT, // some algorithm has A[k] = 0: no companion matrix
    REFUSED,                // k above MAX_EXACT_STEP, or beyond MAX_CYCLE_BITS
};

struct CycleStability {
    CycleStatus status = CycleStatus::DECIDED;
    int missing_algorithm = -1; // first algorithm (from 0) with A[k] = 0
    // Eigenvalues of M = M_c ... M_1 (algorithm 1 applied first), each
    // distinct value once, ordered as the roots of RootCondition.
    std::vector<Eigenvalue> eigenvalues;
    // Every |lambda| <= 1, and every lambda on the circle semisimple.
    bool zero_stable = false;
};

// The algorithms, in the order they are applied, all of step count k.
CycleStability cycle_stability(int k, std::span<const Coefficients> algorithms);

} // namespace ordimet::analyse

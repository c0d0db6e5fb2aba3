#pragma once

// A cyclic method (m = 1) as a whole: the product of its algorithms'
// companion matrices at h = 0, its eigenvalues, the cycle's zero-stability,
// and the order of its global error.

#include "analyse/exact/coefficients.hpp"
#include "analyse/order/order.hpp"
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

// The order of the global error of a zero-stable cycle, decided exactly
// from how the algorithms' local errors propagate over one cycle (the
// derivation is in docs/analyse-math.md). With q the smallest error index of
// the algorithms, the local errors C_{a,q} h^q y^(q) carried to the end of
// the cycle through the later companion matrices add up to h^q tau y^(q),
// tau = sum_a M_c ... M_{a+1} e_k C_{a,q} / A_a[k]; over the O(1/h) cycles
// of an interval only the part of tau in the eigenspace of M for the
// eigenvalue 1 accumulates. So the global error is of order q - 1, or q
// exactly when that part vanishes (w tau = 0 for every left eigenvector w
// of M for 1), and never more: an algorithm with C_{a,q} != 0 puts an error
// of order h^q into the value it computes.
struct CycleOrder {
    std::int64_t order = 0; // q - 1, plus 1 when raised
    bool raised = false;
};

// `algorithms` in the order they are applied, of step k, every A[k] not 0,
// the cycle zero-stable; orders[a] their exact orders, each with an error
// index (q >= 0).
CycleOrder cycle_order(int k, std::span<const Coefficients> algorithms,
                       std::span<const ExactOrder> orders);

} // namespace ordimet::analyse

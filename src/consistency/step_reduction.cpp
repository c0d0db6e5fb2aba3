#include "consistency/consistency.hpp"

#include <cstddef>

namespace ordimet {
namespace {

// Whether column z (A[z] and B[z] of sets with step count k) is exactly 0.0
// in every set; -0.0 compares equal to 0.0. Stops at the first set that fails.
bool column_is_zero(int k, int z, int c, ConstRowTable table) {
    const std::size_t a_position = static_cast<std::size_t>(z);
    const std::size_t b_position = static_cast<std::size_t>(k) + 1 + a_position;
    for (int i = 0; i < c; ++i) {
        const double* set = table[i];
        if (set[a_position] != 0.0 || set[b_position] != 0.0) {
            return false;
        }
    }
    return true;
}

} // namespace

void reduce_step(int& k, int c, CoefficientTable table) {
    // The count stops at column k at the latest: the top column is never
    // removed, even when it is zero in every set too, because a set needs at
    // least one column (everything later reads A[k] and B[k]). A table of
    // zeros therefore ends with step 0 and each set holding the old A[k] and
    // B[k] (both 0.0), exactly as a table whose columns are zero everywhere
    // below the top one; the consistency analysis then finds it not
    // computable.
    int s = 0;
    while (s < k && column_is_zero(k, s, c, table)) {
        ++s;
    }
    if (s == 0) {
        return;
    }

    const int reduced = k - s;
    const std::size_t shift = static_cast<std::size_t>(s);
    const std::size_t b_start = static_cast<std::size_t>(reduced) + 1;
    for (int i = 0; i < c; ++i) {
        const CoefficientSet set = table[i];
        // Every source lies above its destination, so an upward copy never
        // reads a position it has already written.
        for (std::size_t j = 0; j <= static_cast<std::size_t>(reduced); ++j) {
            set[j] = set[j + shift];
        }
        for (std::size_t j = 0; j <= static_cast<std::size_t>(reduced); ++j) {
            set[b_start + j] = set[b_start + j + 2 * shift];
        }
    }
    k = reduced;
}

} // namespace ordimet

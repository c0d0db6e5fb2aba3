// Gaussian elimination with partial pivoting brings the augmented matrix to triangular form;
// the rows left non-zero are its rank, and a rank of d - 1 means the leading errors of the
// algorithms cancel over the cycle (see augmented_matrix.cpp).

#include "cyclic/cyclic.hpp"
#include "support/pause.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ordimet {

// Every comparison below is written so that a NaN takes the branch of a
// smaller left-hand value: a NaN candidate becomes the pivot row, a NaN pivot
// is skipped and a NaN cell counts as zero in the rank.
int triangularise_and_rank(int d, RowTable matrix) {
    for (int i = 0; i < d; ++i) {
        int p = i;
        for (int r = i + 1; r < d; ++r) {
            // Strictly greater replaces, so among equal magnitudes the row
            // with the smallest index stays the pivot row.
            if (!(std::fabs(matrix[r][i]) <= std::fabs(matrix[p][i]))) {
                p = r;
            }
        }
        if (!(std::fabs(matrix[p][i]) >= ZERO_TOLERANCE)) {
            // No pivot in this column: row i keeps its values and the rows
            // below stay unreduced in column i.
            continue;
        }
        if (p != i) {
            // The values move over all d + 1 columns; every row block stays
            // in its slot of the table.
            std::swap_ranges(matrix[i], matrix[i] + d + 1, matrix[p]);
        }
        const double* pivot_row = matrix[i];
        for (int r = i + 1; r < d; ++r) {
            double* row = matrix[r];
            const double f = (-row[i]) / pivot_row[i];
            for (int j = i; j <= d; ++j) {
                row[j] = f * pivot_row[j] + row[j];
            }
        }
    }

    int rank = 0;
    for (int i = 0; i < d; ++i) {
        for (int j = 0; j <= d; ++j) {
            if (std::fabs(matrix[i][j]) >= ZERO_TOLERANCE) {
                ++rank;
                break;
            }
        }
    }
    return rank;
}

void report_consistency_raise(int d, int rank, int q, int m, ConstRowTable matrix) {
    std::fputs("\nTriangularizando a matriz aumentada...\n", stdout);
    print_augmented_matrix(d, matrix);
    std::printf("\nPosto da matriz aumentada: %d\n", rank);
    if (rank == d - 1) {
        std::fputs("A consistencia real do metodo e' maior!", stdout);
        report_method_consistency(m, q + 1);
    } else {
        std::fputs("A consistencia do metodo e' a que foi achada antes mesmo!\n", stdout);
    }
    wait_for_key();
}

} // namespace ordimet

// A cyclic method may be one order better than its weakest algorithm. The augmented matrix asks
// so as a linear system: one unknown per position of the cycle, a row per algorithm applying its
// A coefficients round the cycle, its leading error coefficient C_q on the right (tie rows repeat
// the unknowns with period c). Every row of the coefficient part sums to zero (C_0 for an
// algorithm row), so its rank is d - 1 at most. A rank of d - 1 for the whole matrix is taken
// as the sign that the system has a solution, one value per cycle position that takes up the
// algorithms' leading errors, so that the method's order is one higher; that holds when the
// coefficient part has rank d - 1 too (when it has less, as for two formulas with A[1] = 0, the
// sign is given without a solution). (Order conditions of linear multistep methods:
// J. D. Lambert, Numerical Methods for Ordinary Differential Systems, Wiley 1991.)

#include "cyclic/cyclic.hpp"
#include "support/format.hpp"

#include <cstdio>

namespace ordimet {

// One unknown per position of the cycle. Rows 0 .. t-1 are tie rows, which
// exist only when the step count exceeds the number of algorithms
// (t = max(k - c, 0)); row t + a belongs to algorithm a. u = max(c - k, 0).
// In an algorithm row, A[k - i + j] is assigned to the cells at and left of
// the diagonal, then A[j - i + k - c] is added to the cells at least |k - c|
// right of it; both reach a cell only on the diagonal when k = c.
// Only A coefficients are read, always inside the set.
void build_augmented_matrix(int c, int k, int d, ConstRowTable table, RowTable matrix,
                            const AlgorithmResult* results) {
    const int t = d - c;
    const int u = d - k;
    for (int i = 0; i < d; ++i) {
        for (int j = 0; j <= d; ++j) {
            matrix[i][j] = 0.0;
        }
    }
    // Unknown i equals unknown i + c.
    for (int i = 0; i < t; ++i) {
        matrix[i][i] = 1.0;
        matrix[i][i + c] = -1.0;
    }
    for (int a = 0; a < c; ++a) {
        matrix[t + a][d] = results[a].error_coefficient;
    }
    for (int i = t; i < d; ++i) {
        const double* set = table[i - t];
        double* row = matrix[i];
        for (int j = 0; j < d; ++j) {
            if (j <= i && k - i + j >= 0) {
                row[j] = set[k - i + j];
            }
            if (j >= i && k - i + j - t >= d) {
                row[j] = row[j] + set[j - i - u + t];
            }
        }
    }
}

void print_augmented_matrix(int d, ConstRowTable matrix) {
    std::fputs("\nMatriz aumentada do metodo:\n", stdout);
    for (int i = 0; i < d; ++i) {
        for (int j = 0; j < d; ++j) {
            std::printf("%s ", fixed(matrix[i][j], MATRIX_FIELD_WIDTH).text);
        }
        std::printf("| %s\n", fixed(matrix[i][d], MATRIX_RIGHT_HAND_FIELD_WIDTH).text);
    }
}

} // namespace ordimet

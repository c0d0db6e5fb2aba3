#pragma once

// Cyclic-method analysis: the augmented matrix, its triangularisation and
// rank, and the report whether the consistency is one order higher.

#include "consistency/consistency.hpp"
#include "support/allocation.hpp"

namespace ordimet {

// Writes every cell of the d x (d + 1) augmented matrix of a cyclic method.
void build_augmented_matrix(int c, int k, int d, ConstRowTable table, RowTable matrix,
                            const AlgorithmResult* results);

// Prints the matrix with its current values.
void print_augmented_matrix(int d, ConstRowTable matrix);

// Triangularises the matrix in place and returns its rank.
int triangularise_and_rank(int d, RowTable matrix);

// Prints the triangularised matrix, the rank and the verdict, then pauses.
void report_consistency_raise(int d, int rank, int q, int m, ConstRowTable matrix);

} // namespace ordimet

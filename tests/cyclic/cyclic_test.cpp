#include "cyclic/cyclic.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <utility>
#include <vector>

namespace ordimet {
namespace {

using Rows = std::vector<std::vector<double>>;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Rows in test storage, seen through a table of row pointers.
struct Table {
    explicit Table(Rows values) : rows(std::move(values)) {
        for (auto& row : rows) {
            pointers.push_back(row.data());
        }
    }
    RowTable get() { return pointers.data(); }
    Rows rows;
    std::vector<double*> pointers;
};

TEST(Cyclic, BuildsEveryCellFromTheACoefficientsOnly) {
    // Distinct A values show a misplaced one; B and the matrix start as NaN, so
    // a read of B or a cell left unwritten shows too.
    const auto A = [](int a, int l) { return 100.0 * (a + 1) + l + 1; };
    const auto C = [](int a) { return -0.25 * (a + 1); };
    // clang-format off
    const struct { int c, k; Rows expected; } cases[] = {
        {2, 2, {{A(0, 2) + A(0, 0), A(0, 1), C(0)}, {A(1, 1), A(1, 2) + A(1, 0), C(1)}}},
        {3, 1, {{A(0, 1), 0, A(0, 0), C(0)}, {A(1, 0), A(1, 1), 0, C(1)},
                {0, A(2, 0), A(2, 1), C(2)}}},
        {3, 4, {{1, 0, 0, -1, 0}, {A(0, 3), A(0, 4), A(0, 2), A(0, 3), C(0)},
                {A(1, 2), A(1, 3), A(1, 4), A(1, 2), C(1)},
                {A(2, 1), A(2, 2), A(2, 3), A(2, 4), C(2)}}},
    };
    // clang-format on
    for (const auto& [c, k, expected] : cases) {
        Table sets(Rows(3, std::vector<double>(10, NaN)));
        AlgorithmResult results[3]{};
        for (int a = 0; a < c; ++a) {
            for (int l = 0; l <= k; ++l) {
                sets.get()[a][l] = A(a, l);
            }
            results[a].error_coefficient = C(a);
        }
        const auto d = expected.size();
        Table matrix(Rows(d, std::vector<double>(d + 1, NaN)));
        build_augmented_matrix(c, k, static_cast<int>(d), sets.get(), matrix.get(), results);
        EXPECT_EQ(matrix.rows, expected) << "c = " << c << ", k = " << k;
    }
}

TEST(Cyclic, TriangularisesAtTheToleranceAndPastNaN) {
    const double tol = ZERO_TOLERANCE;
    const double below = std::nextafter(tol, 0.0);
    // clang-format off
    const struct { const char* name; Rows matrix, after; int rank; } cases[] = { // {}: unchanged
        {"a pivot of exactly the tolerance is used and counts",
         {{tol, 0, 0}, {tol / 2, 1, 0}}, {{tol, 0, 0}, {0, 1, 0}}, 2},
        {"a pivot just below it is skipped; such values don't count",
         {{below, 1, 0}, {below / 2, 0, below}}, {}, 1},
        {"a column without pivot leaves its rows; the next column goes on",
         {{0, 1, 2, 1}, {0, 2, 4, 2}, {0, 1, 1, 3}},
         {{0, 1, 2, 1}, {0, 2, 4, 2}, {0, 0, -1, 2}}, 3},
        {"a NaN candidate wins the pivot search, then is skipped", {{1, 0, 0}, {NaN, 1, 0}}, {}, 2},
        {"a NaN cell counts as zero", {{1, 0, 0}, {0, 0, NaN}}, {}, 1},
    };
    // clang-format on
    for (const auto& test : cases) {
        Table matrix(test.matrix);
        const int d = static_cast<int>(matrix.rows.size());
        EXPECT_EQ(triangularise_and_rank(d, matrix.get()), test.rank) << test.name;
        EXPECT_EQ(::testing::PrintToString(matrix.rows), // as text, so that NaN cells match
                  ::testing::PrintToString(test.after.empty() ? test.matrix : test.after))
            << test.name;
    }
}

} // namespace
} // namespace ordimet

#include "cyclic/cyclic.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
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

// What `action` prints. It runs in a child process outside the terminal's
// session, so a key pause returns at once even when the tests run in a
// terminal.
std::string output_of(const std::function<void()>& action) {
    std::fflush(stdout);
    int fds[2];
    if (::pipe(fds) != 0) {
        return "<no pipe>";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::setsid();
        ::dup2(fds[1], STDOUT_FILENO);
        action();
        std::fflush(stdout);
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string out;
    char buffer[4096];
    for (ssize_t got; (got = ::read(fds[0], buffer, sizeof buffer)) > 0;) {
        out.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fds[0]);
    ::waitpid(child, nullptr, 0);
    return out;
}

TEST(Cyclic, BuildsTheMatrixForEveryShape) {
    // Distinct A coefficients, so that a misplaced one can't pass; B is NaN,
    // as the matrix must not read it, and the matrix starts as NaN, so that any
    // cell left unwritten shows.
    const auto A = [](int a, int l) { return 100.0 * (a + 1) + l + 1; };
    const auto C = [](int a) { return -0.25 * (a + 1); };
    const std::pair<int, int> shapes[] = {{2, 2}, {3, 1}, {2, 3}, {3, 4}}; // c, k
    // clang-format off
    const Rows expected[] = {
        {{A(0, 2) + A(0, 0), A(0, 1), C(0)}, {A(1, 1), A(1, 2) + A(1, 0), C(1)}},
        {{A(0, 1), 0.0, A(0, 0), C(0)}, {A(1, 0), A(1, 1), 0.0, C(1)}, {0.0, A(2, 0), A(2, 1), C(2)}},
        {{1.0, 0.0, -1.0, 0.0}, {A(0, 2), A(0, 3), A(0, 2), C(0)}, {A(1, 1), A(1, 2), A(1, 3), C(1)}},
        {{1.0, 0.0, 0.0, -1.0, 0.0}, {A(0, 3), A(0, 4), A(0, 2), A(0, 3), C(0)},
         {A(1, 2), A(1, 3), A(1, 4), A(1, 2), C(1)}, {A(2, 1), A(2, 2), A(2, 3), A(2, 4), C(2)}},
    };
    // clang-format on
    for (std::size_t n = 0; n < std::size(shapes); ++n) {
        const auto [c, k] = shapes[n];
        const int d = std::max(c, k);
        const auto size = [](int v) { return static_cast<std::size_t>(v); };
        Table sets(Rows(size(c), std::vector<double>(size(2 * k + 2), NaN)));
        std::vector<AlgorithmResult> results(size(c));
        for (int a = 0; a < c; ++a) {
            for (int l = 0; l <= k; ++l) {
                sets.get()[a][l] = A(a, l);
            }
            results[size(a)].error_coefficient = C(a);
        }
        Table matrix(Rows(size(d), std::vector<double>(size(d + 1), NaN)));
        build_augmented_matrix(c, k, d, sets.get(), matrix.get(), results.data());
        EXPECT_EQ(matrix.rows, expected[n]) << "c = " << c << ", k = " << k;
    }
}

TEST(Cyclic, PrintsCellsAndRightHandColumnInTheirFields) {
    Table matrix({{0.5, -0.5, 0.0, 0.375},
                  {-1e-17, 12345678.5, -0.0, -1234.5678},
                  {std::numeric_limits<double>::infinity(), NaN, 1.0, -1e-17}});
    EXPECT_EQ(output_of([&] { print_augmented_matrix(3, matrix.get()); }),
              "\nMatriz aumentada do metodo:\n"
              "  0.500000  -0.500000   0.000000 |  0.375000\n"
              " -0.000000 12345678.500000  -0.000000 | -1234.567800\n"
              "       inf        nan   1.000000 | -0.000000\n");
}

TEST(Cyclic, TriangularisesAndCountsTheRank) {
    const double tol = ZERO_TOLERANCE;
    const double below = std::nextafter(tol, 0.0);
    const struct {
        const char* name;
        Rows matrix;
        Rows expected; // empty: unchanged
        int rank;
    } cases[] = {
        // clang-format off
        {"equal magnitudes of opposite signs keep their rows",
         {{0.5, -0.5, 0.375}, {-0.5, 0.5, -0.375}}, {{0.5, -0.5, 0.375}, {0.0, 0.0, 0.0}}, 1},
        {"a right-hand value left over counts",
         {{0.5, -0.5, 0.375}, {-0.5, 0.5, -0.25}}, {{0.5, -0.5, 0.375}, {0.0, 0.0, 0.125}}, 2},
        {"ties down the diagonal",
         {{1.0, 0.0, -1.0, 0.0}, {-1.0, 1.0, -1.0, 0.375}, {0.0, -1.0, 1.0, 0.0}},
         {{1.0, 0.0, -1.0, 0.0}, {0.0, 1.0, -2.0, 0.375}, {0.0, 0.0, -1.0, 0.375}}, 3},
        {"a strictly larger magnitude exchanges the values of whole rows",
         {{1.0, 2.0, 3.0}, {-4.0, 0.0, 8.0}}, {{-4.0, 0.0, 8.0}, {0.0, 2.0, 5.0}}, 2},
        {"a column without pivot leaves its rows unreduced",
         {{0.0, 1.0, 2.0, 1.0}, {0.0, 2.0, 4.0, 2.0}, {0.0, 0.0, 1.0, 3.0}}, {}, 3},
        {"a pivot of exactly the tolerance is used, and counts",
         {{tol, 0.0, 0.0}, {tol / 2, 1.0, 0.0}}, {{tol, 0.0, 0.0}, {0.0, 1.0, 0.0}}, 2},
        {"a pivot just below the tolerance is skipped; values below it don't count",
         {{below, 1.0, 0.0}, {below / 2, 0.0, below}}, {}, 1},
        {"a NaN candidate wins the pivot search, then is skipped",
         {{1.0, 0.0, 0.0}, {NaN, 1.0, 0.0}}, {}, 2},
        {"a NaN cell counts as zero", {{1.0, 0.0, 0.0}, {0.0, 0.0, NaN}}, {}, 1},
        // clang-format on
    };
    for (const auto& test : cases) {
        Table matrix(test.matrix);
        EXPECT_EQ(triangularise_and_rank(static_cast<int>(matrix.rows.size()), matrix.get()),
                  test.rank)
            << test.name;
        // Compared as text, so that NaN cells match.
        EXPECT_EQ(::testing::PrintToString(matrix.rows),
                  ::testing::PrintToString(test.expected.empty() ? test.matrix : test.expected))
            << test.name;
    }
}

TEST(Cyclic, ReportsARaiseOnlyAtRankOneBelowTheDimension) {
    // The elimination leaves a residue of -5.6e-17: it doesn't count, and it
    // prints with its sign.
    Table matrix({{0.2, 0.7, 1.0}, {0.1, 0.1 * 0.7 / 0.2, 0.5}});
    ASSERT_EQ(triangularise_and_rank(2, matrix.get()), 1);
    const std::string head = "\nTriangularizando a matriz aumentada...\n"
                             "\nMatriz aumentada do metodo:\n"
                             "  0.200000   0.700000 |  1.000000\n"
                             "  0.000000  -0.000000 |  0.000000\n"
                             "\nPosto da matriz aumentada: ";
    const std::string same = "A consistencia do metodo e' a que foi achada antes mesmo!\n";
    const std::string pause = "\nPressione uma tecla para continuar...\n";
    const std::pair<int, std::string> cases[] = {
        {1,
         "1\nA consistencia real do metodo e' maior!\nA ordem de consistencia do metodo e' 4.\n"},
        {2, "2\n" + same},
        {0, "0\n" + same},
    };
    for (const auto& [rank, verdict] : cases) {
        EXPECT_EQ(output_of([&] { report_consistency_raise(2, rank, 4, 1, matrix.get()); }),
                  head + verdict + pause);
    }
}

TEST(Cyclic, AllocMatrixRefusesDimensionsAboveTheLimit) {
    EXPECT_EQ(alloc_matrix(MAX_MATRIX_DIMENSION + 1), nullptr);
    EXPECT_EQ(alloc_matrix(std::numeric_limits<int>::max()), nullptr);
    OwnedRows largest(alloc_matrix(MAX_MATRIX_DIMENSION), MAX_MATRIX_DIMENSION);
    ASSERT_NE(largest.get(), nullptr);
    largest.get()[MAX_MATRIX_DIMENSION - 1][MAX_MATRIX_DIMENSION] = 1.0;
}

} // namespace
} // namespace ordimet

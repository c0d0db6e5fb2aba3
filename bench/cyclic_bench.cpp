// The cost of the cyclic analysis at large dimensions, to set the largest
// matrix the driver accepts: the elimination of a dense matrix (every column
// has a pivot and every row below it is reduced, the most work a matrix of
// that dimension can take), and the printing of a matrix, which the run does
// twice.

#include "cyclic/cyclic.hpp"

#include <benchmark/benchmark.h>
#include <cstddef>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

using Rows = std::vector<std::vector<double>>;

Rows dense_matrix(int d) {
    std::mt19937 generator(12345);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    const auto size = static_cast<std::size_t>(d);
    Rows rows(size, std::vector<double>(size + 1));
    for (auto& row : rows) {
        for (double& cell : row) {
            cell = value(generator);
        }
    }
    return rows;
}

std::vector<double*> row_table(Rows& rows) {
    std::vector<double*> table;
    for (auto& row : rows) {
        table.push_back(row.data());
    }
    return table;
}

void Elimination(benchmark::State& state) {
    const int d = static_cast<int>(state.range(0));
    const Rows original = dense_matrix(d);
    for (auto _ : state) {
        state.PauseTiming();
        Rows rows = original;
        std::vector<double*> table = row_table(rows);
        state.ResumeTiming();
        benchmark::DoNotOptimize(ordimet::triangularise_and_rank(d, table.data()));
    }
}
BENCHMARK(Elimination)
    ->Arg(250)
    ->Arg(500)
    ->Arg(750)
    ->Arg(1000)
    ->Arg(1250)
    ->Arg(1500)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond);

// Standard output goes to /dev/null while the matrix is printed; the
// benchmark's own report is written after the function returns.
void Printing(benchmark::State& state) {
    const int d = static_cast<int>(state.range(0));
    Rows rows = dense_matrix(d);
    std::vector<double*> table = row_table(rows);
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    const int sink = ::open("/dev/null", O_WRONLY);
    ::dup2(sink, STDOUT_FILENO);
    for (auto _ : state) {
        ordimet::print_augmented_matrix(d, table.data());
        std::fflush(stdout);
    }
    ::dup2(saved, STDOUT_FILENO);
    ::close(sink);
    ::close(saved);
}
BENCHMARK(Printing)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

} // namespace

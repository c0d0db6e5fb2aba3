// Put the exact solution y into sum_j A[j] y(x + jh) - h^m sum_j B[j] y^(m)(x + jh) and expand
// in powers of h: the term of h^i y^(i)(x) has the coefficient C_i = sum_j j^i A[j] / i! -
// sum_j j^(i-m) B[j] / (i-m)!. The first C_q that is not zero makes the order q - m. (The order
// conditions of linear multistep methods: J. D. Lambert, Numerical Methods for Ordinary
// Differential Systems, Wiley 1991.)

#include "consistency/consistency.hpp"
#include "consistency/factorial_table.hpp"
#include "support/format.hpp"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <limits>

namespace ordimet {
namespace {

// The largest n whose factorial is a finite double (170! is about 7.26e306).
constexpr std::int64_t LAST_FINITE_FACTORIAL = FIRST_INFINITE_FACTORIAL - 1;

// sum over j = 0 .. k of j^e * coefficients[j], added in increasing j, with
// j^e the double power function (0^0 = 1). A NaN sum stays NaN whatever is
// added to it, so the remaining terms are skipped: the result is the same.
double power_sum(const double* coefficients, int k, std::int64_t e) {
    const double exponent = static_cast<double>(e);
    double sum = 0.0;
    for (int j = 0; j <= k; ++j) {
        sum = sum + std::pow(static_cast<double>(j), exponent) * coefficients[j];
        if (std::isnan(sum)) {
            break;
        }
    }
    return sum;
}

// C_i of the set: the A part divided by i!, minus (from i = m on) the B part
// divided by (i - m)!. A NaN A part makes C_i NaN whatever the B part is.
double error_coefficient_at(int k, int m, const double* set, std::int64_t i) {
    const double a = power_sum(set, k, i) / factorial_as_double(i);
    if (i < m || std::isnan(a)) {
        return a;
    }
    const std::int64_t e = i - m;
    const double b = power_sum(set + k + 1, k, e) / factorial_as_double(e);
    return a - b;
}

// The last index whose C_i can reach the tolerance: past it every C_i is 0 or
// NaN, for any coefficients, since its factorials are infinite as doubles.
// Capped at INT_MAX, the largest index an error index can record. The
// reasoning is in docs/consistency-scan.md.
std::int64_t last_index_that_can_stop(int m) {
    return std::min<std::int64_t>(
        std::max<std::int64_t>(LAST_FINITE_FACTORIAL, std::int64_t{m} + LAST_FINITE_FACTORIAL),
        INT_MAX);
}

// The index the scan looks at after i: the indices above LAST_FINITE_FACTORIAL
// and below m have only an A part, divided by an infinite factorial, and
// can't stop the scan, so it jumps over them to m.
std::int64_t next_index_to_scan(std::int64_t i, int m) {
    const std::int64_t next = i + 1;
    return next > LAST_FINITE_FACTORIAL && next < m ? std::int64_t{m} : next;
}

// What the scan finds when no index stops it.
constexpr std::int64_t NO_INDEX = -1;

// The first index i whose |C_i| is at least ZERO_TOLERANCE, with that C_i in
// `c_q`; NO_INDEX when there is none up to last_index_that_can_stop.
std::int64_t first_error_index(int k, int m, const double* set, double& c_q) {
    const std::int64_t last = last_index_that_can_stop(m);
    for (std::int64_t i = 0; i <= last; i = next_index_to_scan(i, m)) {
        const double c_i = error_coefficient_at(k, m, set, i);
        if (std::fabs(c_i) >= ZERO_TOLERANCE) {
            c_q = c_i;
            return i;
        }
    }
    return NO_INDEX;
}

} // namespace

std::int64_t factorial(int n) {
    if (n > MAX_EXACT_FACTORIAL) {
        return FACTORIAL_TOO_LARGE;
    }
    std::int64_t product = 1;
    for (int t = n; t >= 1; --t) {
        product *= t;
    }
    return product;
}

double factorial_as_double(std::int64_t n) {
    if (n < 0) {
        return 1.0;
    }
    if (n >= FIRST_INFINITE_FACTORIAL) {
        return std::numeric_limits<double>::infinity();
    }
    return CORRECTLY_ROUNDED_FACTORIALS[n];
}

int algorithm_consistency(int k, int m, const double* set, std::int32_t& implicit,
                          double& error_coefficient, double& error_constant) {
    error_coefficient = 0.0;
    error_constant = 0.0;
    const std::size_t count = 2 * static_cast<std::size_t>(k) + 2;
    implicit = set[count - 1] != 0.0 ? 1 : 0;

    double magnitude = 0.0;
    for (std::size_t j = 0; j < count; ++j) {
        magnitude = magnitude + std::fabs(set[j]);
    }
    if (magnitude < ZERO_TOLERANCE) {
        return NOT_COMPUTABLE;
    }

    // A scan that finds no index gives NOT_COMPUTABLE with 0.0 in both
    // doubles, as for a set of negligible coefficients: there is no C_q to keep.
    double c_q = 0.0;
    const std::int64_t q = first_error_index(k, m, set, c_q);
    if (q == NO_INDEX) {
        return NOT_COMPUTABLE;
    }

    error_coefficient = c_q;
    const double* b = set + k + 1;
    double b_sum = 0.0;
    for (int j = 0; j <= k; ++j) {
        b_sum = b_sum + b[j];
    }
    if (b_sum == 0.0) {
        return NOT_COMPUTABLE;
    }
    error_constant = (1.0 / b_sum) * c_q;
    return static_cast<int>(q);
}

void analyse_algorithms(int k, int m, int c, ConstRowTable table, AlgorithmResult* results) {
    for (int i = 0; i < c; ++i) {
        AlgorithmResult& result = results[i];
        result.error_index = algorithm_consistency(k, m, table[i], result.implicit,
                                                   result.error_coefficient, result.error_constant);
    }
}

void report_algorithms(int m, int c, const AlgorithmResult* results) {
    for (int i = 0; i < c; ++i) {
        const AlgorithmResult& result = results[i];
        std::printf("\nAlgoritmo %d\n", i + 1);
        if (result.error_index == NOT_COMPUTABLE) {
            std::fputs("Nao e' possivel calcular a consistencia deste algoritmo!\n", stdout);
            continue;
        }
        std::fputs(result.implicit == 0 ? "Este algoritmo e' explicito.\n"
                                        : "Este algoritmo e' implicito.\n",
                   stdout);
        std::printf("Coeficiente de erro: C[ %d ] = %s.\n", result.error_index,
                    fixed(result.error_coefficient).text);
        std::printf("Constante de erro: %s.\n", fixed(result.error_constant).text);
        // Formed in 64 bits so that no q and m can overflow the difference.
        const long long order = static_cast<long long>(result.error_index) - m;
        if (order <= 0) {
            std::fputs("Este algoritmo nao e' consistente!!\n", stdout);
        } else {
            std::fputs("Este algoritmo e' consistente!!\n", stdout);
            std::printf("A ordem de consistencia do algoritmo e' %lld.\n", order);
        }
    }
}

} // namespace ordimet

#include "consistency/consistency.hpp"
#include "consistency/factorial_table.hpp"
#include "driver/support/format.hpp"

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

    // The scan ends without cutting off any index that can stop it. From
    // i = 171 on, i! is infinite as a double, so the A part divided by it is
    // 0 (finite sum) or NaN (infinite or NaN sum); likewise the B part from
    // i - m = 171 on. A C_i made only of such parts is 0 or NaN, and neither
    // reaches the tolerance (NaN compares false). So an index can stop the
    // scan only when i <= 170 or m <= i <= m + 170: the indices between 171
    // and m - 1 are passed over and the scan ends after m + 170. That is at
    // most 342 indices of 2k + 2 powers each, whatever m is, and NaN or
    // infinite coefficients can't make it run longer. (A cut by the shrinking
    // of j^i / i! for i > k would end the scan earlier only where k is small,
    // and there the scan is cheap anyway.)
    //
    // The error index is a 32-bit int, and an index above INT_MAX (possible
    // only when m is near INT_MAX) can't be recorded or turned into an order
    // without overflow, so the scan also ends at INT_MAX.
    //
    // A scan that ends without an index gives NOT_COMPUTABLE with 0.0 in both
    // doubles, as for a set of negligible coefficients: there is no C_q to
    // keep.
    const std::int64_t last = std::min<std::int64_t>(
        std::max<std::int64_t>(LAST_FINITE_FACTORIAL, std::int64_t{m} + LAST_FINITE_FACTORIAL),
        INT_MAX);
    std::int64_t q = -1;
    double c_q = 0.0;
    for (std::int64_t i = 0; i <= last; ++i) {
        if (i > LAST_FINITE_FACTORIAL && i < m) {
            i = m;
        }
        const double c_i = error_coefficient_at(k, m, set, i);
        if (std::fabs(c_i) >= ZERO_TOLERANCE) {
            q = i;
            c_q = c_i;
            break;
        }
    }
    if (q < 0) {
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

void analyse_algorithms(int k, int m, int c, CoefficientTable table, AlgorithmResult* results) {
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

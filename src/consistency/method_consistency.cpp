// A method made of several algorithms has the order of its weakest: its q is the smallest error
// index, and at that index the C_i of every other algorithm was below the tolerance.

#include "consistency/consistency.hpp"

#include <cstdio>

namespace ordimet {

void method_consistency(int c, AlgorithmResult* results) {
    std::int32_t q = results[0].error_index;
    for (int i = 0; i < c; ++i) {
        if (results[i].error_index < q) {
            q = results[i].error_index;
        }
    }
    // At the lower index the error coefficient of a lowered algorithm was
    // below the tolerance in its own scan, so it counts as zero.
    for (int i = 0; i < c; ++i) {
        if (results[i].error_index > q) {
            results[i].error_index = q;
            results[i].error_coefficient = 0.0;
        }
    }
}

void report_method_consistency(int m, int q) {
    // Formed in 64 bits so that no q and m can overflow the difference.
    const long long order = static_cast<long long>(q) - m;
    if (q == NOT_COMPUTABLE) {
        std::fputs("\nTodos os algoritmos devem ter consistencias calculaveis!\n", stdout);
    } else if (order > 0) {
        std::printf("\nA ordem de consistencia do metodo e' %lld.\n", order);
    } else {
        std::fputs("\nEste metodo e' inconsistente!\n", stdout);
    }
}

} // namespace ordimet

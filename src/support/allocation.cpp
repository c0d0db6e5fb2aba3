#include "support/allocation.hpp"

#include <cstdint>
#include <cstdlib>

namespace ordimet {

#ifdef ORDIMET_ALLOCATION_SEAM
namespace {
// Test builds only: the allocation whose 1-based number the environment
// variable ORDIMET_FAIL_ALLOCATION gives is refused as if memory were short,
// so that a test can walk every allocation of a run. The product is built
// without it.
bool refuse_this_allocation() {
    static const long long refused = [] {
        const char* value = std::getenv("ORDIMET_FAIL_ALLOCATION");
        return value != nullptr ? std::atoll(value) : 0LL;
    }();
    static long long count = 0;
    return ++count == refused;
}
} // namespace
#endif

void* alloc_block(std::size_t n, std::size_t size) {
    if (size != 0 && n > SIZE_MAX / size) {
        return nullptr;
    }
#ifdef ORDIMET_ALLOCATION_SEAM
    if (refuse_this_allocation()) {
        return nullptr;
    }
#endif
    // malloc(0) may return null; a request for nothing still gets a block so
    // that null always means "no memory".
    return std::malloc(n * size == 0 ? 1 : n * size);
}

void release_block(void* block) {
    std::free(block);
}

RowTable alloc_pointer_table(int n) {
    if (n < 0) {
        return nullptr;
    }
    auto* rows = static_cast<RowTable>(alloc_block(static_cast<std::size_t>(n), sizeof(double*)));
    if (rows != nullptr) {
        for (int i = 0; i < n; ++i) {
            rows[i] = nullptr;
        }
    }
    return rows;
}

void alloc_doubles(double*& slot, std::size_t n) {
    slot = static_cast<double*>(alloc_block(n, sizeof(double)));
}

void free_rows(RowTable rows, int n) {
    if (rows == nullptr) {
        return;
    }
    for (int i = 0; i < n; ++i) {
        release_block(rows[i]);
    }
    release_block(rows);
}

RowTable alloc_matrix(int d) {
    if (d < 0 || d > MAX_MATRIX_DIMENSION) {
        return nullptr;
    }
    RowTable rows = alloc_pointer_table(d);
    if (rows == nullptr) {
        return nullptr;
    }
    for (int i = 0; i < d; ++i) {
        alloc_doubles(rows[i], static_cast<std::size_t>(d) + 1);
        if (rows[i] == nullptr) {
            free_rows(rows, i);
            return nullptr;
        }
    }
    return rows;
}

} // namespace ordimet

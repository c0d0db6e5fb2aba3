#include "driver/support/support.hpp"

#include "platform/console.hpp"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace ordimet {

void* alloc_block(std::size_t n, std::size_t size) {
    if (size != 0 && n > SIZE_MAX / size) {
        return nullptr;
    }
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

FixedText fixed(double value, int width) {
    FixedText out{};
    if (std::isnan(value)) {
        std::snprintf(out.text, sizeof out.text, "%*s", width, "nan");
    } else if (std::isinf(value)) {
        std::snprintf(out.text, sizeof out.text, "%*s", width, value < 0 ? "-inf" : "inf");
    } else {
        std::snprintf(out.text, sizeof out.text, "%*.6f", width, value);
    }
    return out;
}

void wait_for_key() {
    std::fputs("\nPressione uma tecla para continuar...\n", stdout);
    std::fflush(stdout);
    platform::read_one_key();
}

} // namespace ordimet

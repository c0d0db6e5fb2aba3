#include "driver/support/messages.hpp"

#include <cstdio>

namespace ordimet {

void print_no_memory() {
    std::fputs("Erro de falta de memoria.\n", stdout);
}

} // namespace ordimet

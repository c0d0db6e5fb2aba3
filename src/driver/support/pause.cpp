#include "driver/support/pause.hpp"

#include "platform/console.hpp"

#include <cstdio>

namespace ordimet {

void wait_for_key() {
    std::fputs("\nPressione uma tecla para continuar...\n", stdout);
    std::fflush(stdout);
    platform::read_one_key();
}

} // namespace ordimet

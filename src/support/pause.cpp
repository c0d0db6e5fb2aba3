#include "support/pause.hpp"

#include "platform/console.hpp"

#include <cstdio>

namespace ordimet {

void wait_for_key() {
    std::fputs("\nPressione uma tecla para continuar...\n", stdout);
    // Once a write to standard output has failed (a pipe without a reader, a
    // file at its size limit), nobody sees this prompt or any later one: the
    // run goes on to its end without waiting.
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        return;
    }
    platform::read_one_key();
}

} // namespace ordimet

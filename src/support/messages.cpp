#include "support/messages.hpp"

#include <cstdio>

namespace ordimet {

void print_no_memory() {
    std::fputs(NO_MEMORY_MESSAGE, stdout);
}

} // namespace ordimet

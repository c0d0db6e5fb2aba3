// A stand-in for the search command until it is built.

#include "design/search/search_command.hpp"

#include <cstdio>

namespace ordimet::design {

int run_search_command(int, const char* const*) {
    std::fputs("ordimet-design: search ainda nao disponivel.\n", stderr);
    return 2;
}

} // namespace ordimet::design

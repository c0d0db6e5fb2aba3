// STAND-IN (deleted before merging): the program comes from the families branch.
#include "design/search/search_command.hpp"

#include <cstdio>
#include <string_view>

int main(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]) == "search") {
        return ordimet::design::run_search_command(argc, argv);
    }
    std::fputs("ordimet-design: stand-in: only search\n", stderr);
    return 2;
}

#pragma once

// The `search` command of ordimet-design: its own options after the word
// "search" (argv[0] is the program, argv[1] "search").

#include "analyse/report/words.hpp"

namespace ordimet::design {

// Runs the search and returns the exit status: 0 done, 1 an impossible
// request (or no candidate), 2 a wrong command line. Every message, the
// help and the report are in `language` (the one --lang asks for, looked up
// before the command line is read, so that its errors come in it too).
int run_search_command(int argc, const char* const* argv, analyse::Language language);

} // namespace ordimet::design

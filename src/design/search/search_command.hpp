#pragma once

// The `search` command of ordimet-design: its own options after the word
// "search" (argv[0] is the program, argv[1] "search").

namespace ordimet::design {

// Runs the search and returns the exit status: 0 done, 1 an impossible
// request (or no candidate), 2 a wrong command line.
int run_search_command(int argc, const char* const* argv);

} // namespace ordimet::design

#pragma once

// The command line and the run: checks the arguments, owns every table of a
// run, calls the analyses in their fixed order and pauses at fixed points.

namespace ordimet {

// What check_arguments returns for a command line it accepts, and for one it
// rejects.
inline constexpr int USAGE_ACCEPTED = 0;
inline constexpr int USAGE_REJECTED = -1;

// Prints the usage text.
void print_usage();

// USAGE_ACCEPTED when the command line is acceptable; otherwise prints the
// usage text, pauses and returns USAGE_REJECTED. `kind` is argument 1 (null when absent).
int check_arguments(int argc, const char* kind);

// Prints the banner of the method kind; nothing for an unknown kind.
void print_method_kind(const char* kind);

// Runs the whole analysis of one command line. Returns the exit status, 0 on
// every path.
int run(int argc, const char* const* argv);

} // namespace ordimet

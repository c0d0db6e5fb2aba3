#pragma once

// Stopping a run at a line boundary when it is asked to stop.

namespace ordimet::analyse {

// From now on SIGINT, SIGTERM and SIGHUP only note that the run is to stop
// (those the program was started with ignored stay ignored). The first of
// each is noted; a second one of the same kind takes its default action at
// once.
void catch_interruptions();

// The signal that asked the run to stop, or 0.
int interruption();

// Ends the process by `sig` with its default action, so that the parent
// sees the process ended by that signal (a shell: status 128 + sig).
[[noreturn]] void end_by_signal(int sig);

} // namespace ordimet::analyse

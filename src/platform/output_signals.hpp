#pragma once

namespace ordimet::platform {

// Makes a write to standard output that can't be done fail with an error
// that the C library records, instead of ending the process with a signal:
// a pipe whose reader has gone, or a file at its size limit. Called once, at
// the start of the program.
void keep_running_when_output_fails();

} // namespace ordimet::platform

#pragma once

// The key-press pause at the fixed points of a run.

namespace ordimet {

// Prints the key prompt, flushes standard output and waits for one key press
// on the console; returns at once when there is no console, or when a write
// to standard output has failed.
void wait_for_key();

} // namespace ordimet

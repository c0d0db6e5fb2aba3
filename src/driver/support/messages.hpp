#pragma once

// Messages that more than one subsystem prints.

namespace ordimet {

// Prints the one line that tells a shortage of memory, wherever it happens.
void print_no_memory();

} // namespace ordimet

#pragma once

// Messages that more than one subsystem prints.

namespace ordimet {

// The one line that tells a shortage of memory, wherever it happens.
inline constexpr char NO_MEMORY_MESSAGE[] = "Erro de falta de memoria.\n";

// Prints NO_MEMORY_MESSAGE.
void print_no_memory();

} // namespace ordimet

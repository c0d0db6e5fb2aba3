#pragma once

// Messages that more than one subsystem prints.

namespace ordimet {

// The one line that tells a shortage of memory, wherever it happens.
inline constexpr char NO_MEMORY_MESSAGE[] = "Erro de falta de memoria.\n";

// Why a composite or cyclic method of an equation order above 1 is not
// analysed further.
inline constexpr char ORDER_NOT_ONE_MESSAGE[] = "A ordem deve ser 1 para metodos nao simples.";

// Prints NO_MEMORY_MESSAGE.
void print_no_memory();

} // namespace ordimet

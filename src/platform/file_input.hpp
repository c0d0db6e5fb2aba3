#pragma once

#include <cstddef>

namespace ordimet::platform {

// A file opened by name for reading its raw bytes. Text-mode interpretation
// (line ends, the Ctrl-Z end mark) is done above this layer, identically on
// every operating system.
struct InputFile {
    long long handle = -1; // the operating system's file descriptor or handle
};

// Opens the named file for reading. Returns false when it can't be opened.
// Opening never blocks, not even on a FIFO without a writer.
bool open_input_file(const char* name, InputFile& file);

// What read_input_file returns when the file can't be read.
inline constexpr long long INPUT_READ_FAILED = -1;

// Reads up to `capacity` bytes. Returns the number of bytes read, 0 at the
// end of the file, or INPUT_READ_FAILED when the file can't be read (a
// directory, an I/O error).
long long read_input_file(InputFile& file, char* buffer, std::size_t capacity);

// Closes the file. Returns false when the close fails.
bool close_input_file(InputFile& file);

} // namespace ordimet::platform

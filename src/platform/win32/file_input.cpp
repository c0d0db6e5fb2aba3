#include "platform/file_input.hpp"

#include <algorithm>
#include <cstdint>
#include <windows.h>

namespace ordimet::platform {
namespace {

HANDLE handle_of(const InputFile& file) {
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(file.handle));
}

} // namespace

bool open_input_file(const char* name, InputFile& file) {
    // The name is in the ANSI code page, as the command line hands it over.
    // Sharing as the C library's fopen does: others may go on reading and
    // writing the file. A directory can't be opened this way, so it fails
    // here as it fails to read on POSIX.
    const HANDLE handle =
        CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    file.handle = static_cast<long long>(reinterpret_cast<std::intptr_t>(handle));
    return true;
}

long long read_input_file(InputFile& file, char* buffer, std::size_t capacity) {
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(capacity, MAXDWORD));
    DWORD got = 0;
    if (!ReadFile(handle_of(file), buffer, wanted, &got, nullptr)) {
        // A pipe whose writer has gone reads as the end of the file, as a
        // FIFO does on POSIX.
        return GetLastError() == ERROR_BROKEN_PIPE ? 0 : INPUT_READ_FAILED;
    }
    return static_cast<long long>(got);
}

bool close_input_file(InputFile& file) {
    const HANDLE handle = handle_of(file);
    file.handle = -1;
    return CloseHandle(handle) != FALSE;
}

} // namespace ordimet::platform

#include "platform/file_input.hpp"

#include "platform/posix/retry.hpp"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace ordimet::platform {

bool open_input_file(const char* name, InputFile& file) {
    // O_NONBLOCK only for the open itself: a FIFO without a writer would
    // otherwise block here forever. Reads block normally afterwards, and a
    // FIFO without a writer reads as an empty file.
    const int fd = retry_interrupted(
        [&] { return ::open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC); });
    if (fd < 0) {
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        ::close(fd);
        return false;
    }
    file.handle = fd;
    return true;
}

long long read_input_file(InputFile& file, char* buffer, std::size_t capacity) {
    const ssize_t got =
        retry_interrupted([&] { return ::read(static_cast<int>(file.handle), buffer, capacity); });
    return got < 0 ? INPUT_READ_FAILED : static_cast<long long>(got);
}

bool close_input_file(InputFile& file) {
    const int fd = static_cast<int>(file.handle);
    file.handle = -1;
    // After an interrupted close the descriptor is already released on
    // Linux, so the close is not repeated.
    return ::close(fd) == 0 || errno == EINTR;
}

} // namespace ordimet::platform

#pragma once

#include <cerrno>

namespace ordimet::platform {

// Makes a system call again for as long as a signal handler interrupts it
// (it fails with EINTR). Returns the last result: a failure is negative, with
// errno set by the call.
template <class Call> auto retry_interrupted(Call call) {
    auto result = call();
    while (result < 0 && errno == EINTR) {
        result = call();
    }
    return result;
}

} // namespace ordimet::platform

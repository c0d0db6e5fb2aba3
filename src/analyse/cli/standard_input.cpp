#include "analyse/cli/standard_input.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace ordimet::analyse {
namespace {

// Copies standard input to a new unlinked temporary file; false on any
// failure, with nothing left behind.
bool copy_standard_input(StandardInput& input) {
    // A closed standard input can't be read; checked first, since the
    // temporary file would otherwise take its descriptor and be read as it.
    if (fcntl(STDIN_FILENO, F_GETFD) < 0) {
        return false;
    }
    const char* folder = std::getenv("TMPDIR");
    std::string name = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
                       "/ordimet-analyse-XXXXXX";
    input.descriptor = mkstemp(name.data());
    if (input.descriptor < 0) {
        return false;
    }
    unlink(name.c_str());
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
        if (got == 0) {
            break;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        for (ssize_t done = 0; got > 0 && done < got;) {
            const ssize_t wrote =
                write(input.descriptor, buffer + done, static_cast<std::size_t>(got - done));
            if (wrote < 0 && errno != EINTR) {
                return false;
            }
            done += wrote > 0 ? wrote : 0;
        }
        if (got < 0) {
            return false;
        }
    }
    input.path = "/dev/fd/" + std::to_string(input.descriptor);
    return true;
}

} // namespace

StandardInput::~StandardInput() {
    if (descriptor >= 0) {
        close(descriptor);
    }
}

bool paths_to_read(const std::vector<std::string>& files, StandardInput& input,
                   std::vector<std::string>& paths) {
    paths = files;
    for (std::string& path : paths) {
        if (path != "-") {
            continue;
        }
        if (input.path.empty() && !copy_standard_input(input)) {
            return false;
        }
        path = input.path;
    }
    return true;
}

} // namespace ordimet::analyse

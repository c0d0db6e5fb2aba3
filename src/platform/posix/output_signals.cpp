#include "platform/output_signals.hpp"

#include <csignal>

namespace ordimet::platform {

void keep_running_when_output_fails() {
    // Ignored, SIGPIPE and SIGXFSZ turn into the write errors EPIPE and
    // EFBIG; nothing the program starts inherits the setting, since it
    // starts nothing.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace ordimet::platform

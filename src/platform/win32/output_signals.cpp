#include "platform/output_signals.hpp"

namespace ordimet::platform {

void keep_running_when_output_fails() {
    // Nothing to do: Windows ends no process for its output; a write to a
    // pipe without a reader, or to a full disk, fails with an error.
}

} // namespace ordimet::platform

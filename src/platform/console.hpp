#pragma once

namespace ordimet::platform {

// Waits for one key press read from the console itself (not from standard
// input), without echo and without waiting for Enter. Returns at once when
// there is no console to read from or reading it fails.
void read_one_key();

} // namespace ordimet::platform

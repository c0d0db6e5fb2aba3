#pragma once

// Everything the run driver lends the other subsystems, for the code that
// wants all of it: the allocation routines, the number format, the pause and
// the shared messages.

#include "driver/support/allocation.hpp"
#include "driver/support/format.hpp"
#include "driver/support/messages.hpp"
#include "driver/support/pause.hpp"

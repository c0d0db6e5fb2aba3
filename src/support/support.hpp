#pragma once

// The ground floor every subsystem builds on, for the code that wants all of
// it: the allocation routines, the number format, the pause and
// the shared messages.

#include "support/allocation.hpp"
#include "support/format.hpp"
#include "support/messages.hpp"
#include "support/pause.hpp"

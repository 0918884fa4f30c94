#pragma once
// The warning before fuse settings that could lock a chip out of serial
// programming or stop its clock.

#include <optional>
#include <string>

#include "base/UserPort.h"
#include "devices/LockFuseLayout.h"

namespace zavuv::devices {

// The complete warning text, ending in the question whether to go on, or
// nothing when the state is safe to program.
std::optional<std::string> fuseWarnings(const LockFuseLayout& layout, const LockFuseState& state);

// Asks the person when there is a warning (Yes/No, No by default); true to go
// on with programming or saving, false to stay with the settings.
bool confirmFuseWarnings(const LockFuseLayout& layout, const LockFuseState& state,
                         base::UserPort& port);

}  // namespace zavuv::devices

#pragma once
// The steps every chip operation shares: the no-board check, the connect with
// the project's options, and the end of the session with its warning.

#include "link/ModePacket.h"
#include "workspace/Workspace.h"

namespace zavuv::operations {

// False, after "Select COM port or click 'search board'" on the status line and
// "No board specified" in a box, when no COM port is chosen.
bool requireBoard(workspace::Workspace& ws);

// connectTarget with the project's options and the device lists' choice.
bool connect(workspace::Workspace& ws, link::SpeedCode speed);

// The speed the memory operations use: the baud preference, except 19200 for a
// DataFlash, whose sequences are timed for it.
link::SpeedCode memorySpeed(const workspace::Workspace& ws);

// endSession; a failure shows "Warning: incorrect disconnection." in a box.
// Returns what endSession returned.
bool endSessionWarning(workspace::Workspace& ws);

}  // namespace zavuv::operations

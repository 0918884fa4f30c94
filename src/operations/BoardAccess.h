#pragma once
// The steps every chip operation shares: the no-board check, the connect with
// the project's options, the chip driver's session, and the end of the
// session with its warning.

#include "chips/ChipSession.h"
#include "link/ModePacket.h"
#include "workspace/Workspace.h"

namespace zavuv::operations {

// False, after "Select COM port or click 'search board'" on the status line and
// "No board specified" in a box, when no COM port is chosen.
bool requireBoard(workspace::Workspace& ws);

// The connect with the project's options and the device lists' choice.
bool connect(workspace::Workspace& ws, link::SpeedCode speed);

// The speed the memory operations use: the baud preference, unless the chip's
// sequences are timed for 19200 baud (a DataFlash).
link::SpeedCode memorySpeed(const workspace::Workspace& ws);

// What a chip driver works with on the open session, for `device`.
chips::ChipSession chipSession(workspace::Workspace& ws, const devices::DeviceInfo& device);

// endSession; a failure shows "Warning: incorrect disconnection." in a box.
// Returns what endSession returned.
bool endSessionWarning(workspace::Workspace& ws);

}  // namespace zavuv::operations

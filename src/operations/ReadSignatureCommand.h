#pragma once
// The read-signature command of the menu and the "Read signature" button.

#include "workspace/Workspace.h"

namespace zavuv::operations {

// Reads the chip's signature as the project's device's driver reads it and
// shows it with the chip's
// name on the status line; the device lists follow the chip. True when a
// signature was shown; false when there was no board, no connection, a failed
// read (the port is closed without a message) or a locked chip.
bool readSignatureCommand(workspace::Workspace& ws);

// The button: a chip detected by the connect (a DataFlash) needs the connect
// alone; a chip with a signature instruction takes the read-signature command;
// for other chips nothing happens (false).
bool readSignatureButton(workspace::Workspace& ws);

}  // namespace zavuv::operations

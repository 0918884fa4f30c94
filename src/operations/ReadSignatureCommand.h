#pragma once
// The read-signature command of the menu and the "Read signature" button.

#include "workspace/Workspace.h"

namespace zavuv::operations {

// Reads the chip's signature by the project's device (the AT89S51 and
// AT89S8253 instruction sets have their own read) and shows it with the chip's
// name on the status line; the device lists follow the chip. True when a
// signature was shown; false when there was no board, no connection, a failed
// read (the port is closed without a message) or a locked chip.
bool readSignatureCommand(workspace::Workspace& ws);

// The button: a DataFlash is detected by the connect alone; AVR, AT89S51 and
// AT89S8253 chips take the read-signature command; other chips have no
// signature to read and nothing happens (false).
bool readSignatureButton(workspace::Workspace& ws);

}  // namespace zavuv::operations

#pragma once
// The chip-erase command.

#include "workspace/Workspace.h"

namespace zavuv::operations {

// Erases the chip selected in the device lists: a DataFlash block by block
// behind the progress runner, every other chip with its erase instruction. An
// AVR chip's signature is read again afterwards, which tells whether the erase
// unlocked it. lastOperationStatus: Succeeded when the chip was erased, Failed when it
// failed, was cancelled or the chip is still locked.
void chipErase(workspace::Workspace& ws);

}  // namespace zavuv::operations

#pragma once
// The buffer commands that report to the status line and to auto-program.

#include "buffers/MemoryBuffer.h"
#include "workspace/Workspace.h"

namespace zavuv::operations {

// "Flash length: ..." / "Eeprom length: ..." for the buffer.
std::string bufferText(const buffers::MemoryBuffer& buffer);

// The Reload command: reloads the buffer from its file. lastOperationStatus is
// Succeeded and the buffer text on the status line when the buffer holds its
// file again, Failed otherwise (the file could not be read or decoded, or there was no file).
void reloadBuffer(workspace::Workspace& ws, buffers::MemoryBuffer& buffer);

}  // namespace zavuv::operations

#pragma once
// The programming worker: writes a buffer into the chip's Flash or EEPROM on
// an open session, in the way the device needs, marking each byte handed over.

#include "base/Progress.h"
#include "operations/MemoryJob.h"
#include "workspace/Workspace.h"

namespace zavuv::operations {

// The end code: 0 done, 1 cancelled (also Cancel on the size warning), -1 link
// failure, 100 the board's data polling failed.
int programMemory(workspace::Workspace& ws, base::ProgressSink& sink, const MemoryJob& job);

}  // namespace zavuv::operations

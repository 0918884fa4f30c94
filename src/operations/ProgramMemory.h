#pragma once
// The programming worker: writes a buffer into the chip's Flash or EEPROM on
// an open session through the chip's driver, marking each byte handed over.

#include "base/Progress.h"
#include "chips/MemoryJob.h"
#include "workspace/Workspace.h"

namespace zavuv::operations {

// Done, Cancelled (also Cancel on the size warning), LinkFailure, or
// PollingFailure when the board's data polling gave up.
base::EndCode programMemory(workspace::Workspace& ws, base::ProgressSink& sink,
                            const chips::MemoryJob& job);

}  // namespace zavuv::operations

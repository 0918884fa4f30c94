#pragma once
// The blank-check worker: reads the chip's Flash until it finds a byte other
// than the erased value 0xFF. Touches no buffer.

#include "base/Progress.h"
#include "workspace/Workspace.h"

namespace zavuv::operations {

// 0 blank, 100 not blank, 1 cancelled, -1 link failure.
int blankCheckFlash(workspace::Workspace& ws, base::ProgressSink& sink);

}  // namespace zavuv::operations

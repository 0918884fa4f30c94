#pragma once
// The blank-check worker: reads the chip's Flash through its driver until it
// finds a byte other than the erased value 0xFF. Touches no buffer.

#include "base/Progress.h"
#include "workspace/Workspace.h"

namespace zavuv::operations {

// Done (blank), NotBlank, Cancelled or LinkFailure.
base::EndCode blankCheckFlash(workspace::Workspace& ws, base::ProgressSink& sink);

}  // namespace zavuv::operations

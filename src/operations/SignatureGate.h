#pragma once
// The signature check before Program Flash: questions for a chip that is not
// the selected one or is locked, and the erase of a locked chip on request.

#include "workspace/Workspace.h"

namespace zavuv::operations {

// True when programming may go on. False after the gate has said why and ended
// the session itself; lastOperationStatus is then Failed.
bool signatureAllowsProgramming(workspace::Workspace& ws);

}  // namespace zavuv::operations

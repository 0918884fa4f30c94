#pragma once
// The signature check before a memory command: questions for a chip that is
// not the selected one or is locked, and the erase of a locked chip on request.

#include "text/MessageKeys.h"
#include "workspace/Workspace.h"

namespace zavuv::operations {

// Before Program Flash, when the project asks for it. True when programming
// may go on. False after the gate has said why and ended the session itself;
// lastOperationStatus is then Failed.
bool signatureAllowsProgramming(workspace::Workspace& ws);

// Before every program, read and verify of the command line: chips that read
// their signature with an instruction are checked, another or a locked chip
// is a question (default No); No ends the command with its `cancelled` text.
// True and False as above.
bool signatureAllowsMemoryCommand(workspace::Workspace& ws, bool programming, text::Msg cancelled);

}  // namespace zavuv::operations

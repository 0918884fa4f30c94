#pragma once
// The seven memory commands of the main window, each one pass through the same
// frame: preconditions, connect, (Program Flash) the signature check, the
// worker behind the progress runner, the result texts, the end of the session,
// and (Program) the serial-number increment, or in a run nobody watches its
// reservation before anything is sent. Their outcome is the status line,
// message boxes, the buffers and ws.results; the bool says whether the
// command succeeded (verify: every byte equal; blank check: blank).

#include "workspace/Workspace.h"

namespace zavuv::operations {

enum class MemoryOperation {
    ProgramFlash,
    ProgramEeprom,
    ReadFlash,
    ReadEeprom,
    VerifyFlash,
    VerifyEeprom,
    BlankCheck,
};

bool runMemoryOperation(workspace::Workspace& ws, MemoryOperation operation);

inline bool programFlash(workspace::Workspace& ws) {
    return runMemoryOperation(ws, MemoryOperation::ProgramFlash);
}
inline bool programEeprom(workspace::Workspace& ws) {
    return runMemoryOperation(ws, MemoryOperation::ProgramEeprom);
}
inline bool readFlash(workspace::Workspace& ws) {
    return runMemoryOperation(ws, MemoryOperation::ReadFlash);
}
inline bool readEeprom(workspace::Workspace& ws) {
    return runMemoryOperation(ws, MemoryOperation::ReadEeprom);
}
inline bool verifyFlash(workspace::Workspace& ws) {
    return runMemoryOperation(ws, MemoryOperation::VerifyFlash);
}
inline bool verifyEeprom(workspace::Workspace& ws) {
    return runMemoryOperation(ws, MemoryOperation::VerifyEeprom);
}
inline bool blankCheck(workspace::Workspace& ws) {
    return runMemoryOperation(ws, MemoryOperation::BlankCheck);
}

}  // namespace zavuv::operations

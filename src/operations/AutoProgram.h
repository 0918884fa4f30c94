#pragma once
// The auto-program sequence: the project's chosen steps (erase, blank check,
// reload, program and verify of Flash and EEPROM, lock and fuse bits before or
// after everything) one after another, each judged by the lastOperationStatus
// it leaves, ending with one DONE or ERROR text on the status line.

#include <optional>

#include "text/MessageKeys.h"
#include "workspace/Workspace.h"

namespace zavuv::operations {

// Which buffers received a serial-number increment during the run.
struct AutoProgramOutcome {
    bool flashIncremented = false;
    bool eepromIncremented = false;
    std::optional<text::Msg> failureKey;  // the ERROR text of a failure ending
};

// Sets results.autoprogramOk at a DONE ending (the caller clears it first).
AutoProgramOutcome autoProgram(workspace::Workspace& ws);

// The run nobody watches (command line, automatic start): clears
// autoprogramOk and runs the sequence with ws.unattended set, so that every
// serial number is reserved in its file before anything is programmed and the
// next run programs the next number. Returns autoprogramOk.
bool autoProgramUnattended(workspace::Workspace& ws);

}  // namespace zavuv::operations

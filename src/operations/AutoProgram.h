#pragma once
// The auto-program sequence: the project's chosen steps (erase, blank check,
// reload, program and verify of Flash and EEPROM, lock and fuse bits before or
// after everything) one after another, each judged by the lastOperationStatus
// it leaves, ending with one DONE or ERROR text on the status line.

#include <optional>

#include "text/MessageKeys.h"
#include "workspace/Workspace.h"

namespace zavuv::operations {

// How a run treats lock and fuse bits that could lock the chip out.
enum class LockoutPolicy {
    Ask,         // a person watches: the warning is a question, No ends the run
    Unattended,  // nobody watches: refused unless the project allows them (AllowLockout=1)
    Forced,      // the command line's --force-lockout
};

// Which buffers received a serial-number increment during the run.
struct AutoProgramOutcome {
    bool flashIncremented = false;
    bool eepromIncremented = false;
    std::optional<text::Msg> failureKey;  // the ERROR text of a failure ending
};

// Sets results.autoprogramOk at a DONE ending (the caller clears it first).
// Lock and fuse bits that could lock the chip out are judged before the first
// step, so that a refused run leaves the chip untouched; a declined, refused or
// failed lock/fuse step ends the run with an ERROR text.
AutoProgramOutcome autoProgram(workspace::Workspace& ws,
                               LockoutPolicy lockout = LockoutPolicy::Ask);

// The run nobody watches (command line, automatic start): clears
// autoprogramOk and runs the sequence with ws.unattended set, so that every
// serial number is reserved in its file before anything is programmed and the
// next run programs the next number. Returns autoprogramOk. `forceLockout`
// programs lock-out settings the project does not allow.
bool autoProgramUnattended(workspace::Workspace& ws, bool forceLockout = false);

}  // namespace zavuv::operations

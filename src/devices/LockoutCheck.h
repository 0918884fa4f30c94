#pragma once
// The check before lock and fuse bits are programmed or saved for
// auto-program: which of the new settings could lock the chip out of serial
// programming, stop its clock or stop it being read, each with what the bit
// does and how it is undone.

#include <optional>
#include <string>
#include <vector>

#include "base/UserPort.h"
#include "devices/DeviceTable.h"
#include "devices/LockFuseLayout.h"
#include "devices/LockModeName.h"

namespace zavuv::devices {

enum class LockoutKind {
    SerialProgrammingOff,  // SPIEN left unprogrammed
    ResetPinOff,           // RSTDISBL programmed
    DebugWireOn,           // DWEN programmed
    ClockSource,           // a clock source outside the chip that is not in use yet
    ReadProtection,        // a lock mode that stops reading and verifying
    WarnedFuse,            // another fuse the layout warns about
};

struct LockoutFinding {
    LockoutKind kind;
    // Only a high-voltage programmer or a debugger undoes it: the command line
    // wants --force-lockout as well as --yes.
    bool endsSerialProgramming = false;
    std::string bit;   // the fuse, the CKSEL setting or the lock mode
    std::string text;  // its lines of the warning, in the current language
};

// The dangerous changes from `current` (the chip's bits, or its factory
// settings when they are not known) to `wanted`, in fuse order, then the
// clock, then the lock mode. Empty when `wanted` is safe to program.
std::vector<LockoutFinding> lockoutFindings(const LockFuseLayout& layout,
                                            const LockFuseState& current,
                                            const LockFuseState& wanted, LockModeTexts modeTexts);

// The warning's text without its closing question, or nothing when there are no findings.
std::optional<std::string> lockoutText(const std::vector<LockoutFinding>& findings);

// The bits of a chip as it leaves the factory: its factory fuse bytes, unlocked.
LockFuseState factoryState(const DeviceInfo& device, const LockFuseLayout& layout);

// Asks the person when there is anything to warn about (Yes/No, No by
// default, caption "Warning"); true to go on with programming or saving.
bool confirmLockout(const std::vector<LockoutFinding>& findings, base::UserPort& port);

// Whether any finding can be undone only by a high-voltage programmer or a debugger.
bool endsSerialProgramming(const std::vector<LockoutFinding>& findings);

// The names of those bits, "RSTDISBL, DWEN".
std::string serialProgrammingBits(const std::vector<LockoutFinding>& findings);

}  // namespace zavuv::devices

#pragma once
// The AVR lock byte: lock mode and boot lock bits into the write instruction
// and out of the read answer. The AT89S chips have their own lock coding.

#include <optional>

#include "base/UserPort.h"
#include "devices/LockFuseLayout.h"

namespace zavuv::devices {

// LB1 programmed from lock mode 1, LB2 from mode 2, the boot lock bits in
// instruction byte 3. Nothing when the lock byte is not to be written: lock
// mode 0 and no boot lock bit programmed, so an unlocked chip is left as it is.
std::optional<Instruction> encodeLockInstruction(const LockFuseLayout& layout,
                                                 const LockFuseState& state);

// Fills lockMode and bootLock from the lock read answer. LB2 programmed
// without LB1 is no mode the program sets: the person is told and the chip
// counts as not locked.
void decodeLockByte(const LockFuseLayout& layout, std::uint8_t answer, LockFuseState& state,
                    base::UserPort& port);

}  // namespace zavuv::devices

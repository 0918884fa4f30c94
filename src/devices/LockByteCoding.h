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

// The AVR lock byte as the chip stores it and a fuse calculator writes it
// (bits without a lock bit read 1).
std::uint8_t lockByteValue(const LockFuseLayout& layout, const LockFuseState& state);

// A lock byte given as a number into lock mode and boot lock bits; false for
// LB2 programmed without LB1, which is no lock mode.
bool lockByteToState(const LockFuseLayout& layout, std::uint8_t value, LockFuseState& state);

}  // namespace zavuv::devices

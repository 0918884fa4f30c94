#pragma once
// Steps of the AT89S instruction sets that several drivers share: the entry
// after the board's AT89S reset, the signature read, the lock read, the lock
// level write, and the erase of a locked chip.

#include "chips/ChipDriver.h"

namespace zavuv::chips::at89s {

// How many bytes of the programming enable instruction the chip takes.
enum class EnableLength { ThreeBytes, FourBytes };

// The board's AT89S reset, then programming enable. The chip's answer is not
// checked: the operation that follows finds out whether the chip listens.
bool enterAfterReset(link::BoardConnection& connection, EnableLength length);

// Where the signature bytes are addressed.
enum class SignatureAddressing {
    Pages,     // AT89S51 family: 000h, 100h, 200h
    Register,  // AT89S8253: 30h..32h in the third instruction byte
};
bool readSignature(link::ProgrammerLink& link, SignatureAddressing addressing,
                   SignatureBytes& signature);

// How a lock read answer is decoded.
enum class LockAnswer { At89S51, At89S8253 };
// The lock mode and, where the layout reads it, the fuse byte.
bool readLockFuse(const ChipSession& session, const devices::LockFuseLayout& layout,
                  LockAnswer answer, devices::LockFuseState& state);

// The AT89S8252 and AT89S53 take the lock level in a 3-byte instruction.
LockFuseWrite writeLockLevel3(const ChipSession& session, const devices::LockFuseLayout& layout,
                              const devices::LockFuseState& state);

// The 3-byte erase instruction, which also frees these chips when locked.
bool eraseLocked(link::ProgrammerLink& link);

}  // namespace zavuv::chips::at89s

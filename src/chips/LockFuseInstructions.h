#pragma once
// Sending the lock and fuse instructions of a layout, and reading them back:
// the steps every family's lock/fuse sequence is made of.

#include <cstdint>
#include <optional>
#include <span>

#include "chips/ChipDriver.h"

namespace zavuv::chips {

// Sends one write instruction and waits for its acknowledgement, pausing
// `replyPauseMs` before it when the chip needs that long for the write.
LockFuseWrite sendLockFuseInstruction(link::ProgrammerLink& link, link::BoardCommand command,
                                      std::span<const std::uint8_t> instruction, int replyPauseMs);

// "Connection error" or "Error programming lock/fuse bits" in a box for a
// failed write; true when it was acknowledged.
bool reportedAtOnce(link::LinkMessages& messages, LockFuseWrite outcome);

// The answer byte of a read instruction, or nothing when the link failed.
std::optional<std::uint8_t> readLockFuseInstruction(link::ProgrammerLink& link,
                                                    const devices::ReadCommand& command);

}  // namespace zavuv::chips

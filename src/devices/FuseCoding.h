#pragma once
// Fuse bits into write instructions and out of read answers.

#include <optional>
#include <span>
#include <vector>

#include "devices/LockFuseLayout.h"

namespace zavuv::devices {

// The instruction that writes this fuse byte, or nothing when the layout does
// not write it (the low byte of a layout without fuses, an absent high or
// extended byte). Bits that carry no fuse keep the template's value.
std::optional<Instruction> encodeFuseInstruction(const LockFuseLayout& layout, FuseByte which,
                                                 const LockFuseState& state);

// The fuse byte itself as the chip stores it: the instruction byte that
// carries this byte's fuses (bits without a fuse as the template has them).
// Nothing when the layout does not write the byte.
std::optional<std::uint8_t> fuseByteValue(const LockFuseLayout& layout, FuseByte which,
                                          const LockFuseState& state);

// Every fuse instruction to send, in the order the chip takes them: low, high, extended.
std::vector<Instruction> encodeFuseInstructions(const LockFuseLayout& layout,
                                                const LockFuseState& state);

// Takes the fuse bits of one read answer into the state. The low byte sets
// every fuse (false where it has no bit for it); the high and extended bytes
// only the fuses they carry. Decode in read order: the later bytes correct what
// the low byte left in fuses that are not its own.
void decodeFuseByte(const LockFuseLayout& layout, FuseByte which, std::uint8_t answer,
                    LockFuseState& state);

// The fuse bytes a chip read asks for, in order: the low byte when it has a
// read of its own, then the high byte when present, then the extended byte
// when present (only after a high byte). Empty when the low byte cannot be read.
std::vector<FuseByte> fuseReadOrder(const LockFuseLayout& layout);

// Decodes the answers to the reads of fuseReadOrder, in that order (as many as
// are given). A layout without fuse reads of its own but with a readable lock
// byte takes its fuse bits from the lock answer at the low byte's positions.
void decodeFuseBytes(const LockFuseLayout& layout, std::uint8_t lockAnswer,
                     std::span<const std::uint8_t> answers, LockFuseState& state);

}  // namespace zavuv::devices

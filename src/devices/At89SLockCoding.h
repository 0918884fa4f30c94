#pragma once
// Lock bits of the AT89S chips. Their fuse byte (AT89S8253 only) follows the
// layout-driven fuse coding like any other.

#include <cstdint>
#include <vector>

#include "devices/LockFuseLayout.h"

namespace zavuv::devices {

// AT89S51 instruction set: one instruction per lock level from 1 up to the
// state's mode, each programming one more lock bit (the level ORed into byte 1
// of the template, 0xFF last). None for mode 0.
std::vector<Instruction> encodeAt89SLockSteps(const LockFuseLayout& layout,
                                              const LockFuseState& state);

// AT89S8253, AT89S8252 and AT89S53: one instruction carrying the whole level.
// The third lock-bit position is programmed from mode 1, the second from mode
// 2, the first from mode 3; the others are set. The AT89S8253 sends all four
// bytes, even for mode 0; the AT89S8252 and AT89S53 send the first three.
Instruction encodeAt89SLockLevel(const LockFuseLayout& layout, const LockFuseState& state);

// The lock mode in an AT89S51/52 lock read answer, where a programmed lock bit
// reads 1: the highest lock bit programmed.
std::int32_t decodeAt89S51LockAnswer(const LockFuseLayout& layout, std::uint8_t answer);

// The lock mode in an AT89S8253 lock read answer, where a programmed lock bit
// reads 0: LB1 alone, LB1 and LB2, or all three; any other pattern reads as 0.
std::int32_t decodeAt89S8253LockAnswer(const LockFuseLayout& layout, std::uint8_t answer);

}  // namespace zavuv::devices

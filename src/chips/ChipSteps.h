#pragma once
// Link steps that the drivers' memory workers share.

#include <cstddef>
#include <cstdint>

#include "base/Progress.h"
#include "chips/ChipSession.h"

namespace zavuv::chips {

// A protocol wait; none at all for 0 ms, so that unset board delays cost nothing.
void waitMs(const ChipSession& session, int ms);

// "Connection error" in a box, then the link-failure end code.
base::EndCode connectionErrorBox(const ChipSession& session);

// 'W' with the timing code and its CR; false after the "Connection error" box.
bool sendTimingCode(const ChipSession& session, std::uint8_t code);

// A read instruction (opcode, address high, address low) through the board;
// the chip's byte, or -1 when the block could not be sent or nothing came.
int readSpiByte(link::ProgrammerLink& link, std::uint8_t opcode, std::size_t address);

// Byte `shift / 8` of a value, for addresses and counts on the wire.
constexpr std::uint8_t byteAt(std::size_t value, int shift) {
    return static_cast<std::uint8_t>((value >> shift) & 0xFF);
}

}  // namespace zavuv::chips

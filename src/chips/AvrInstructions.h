#pragma once
// The AVR serial programming instructions the host sends itself; the board
// sends the paged reads and writes on its own.

#include <cstdint>

#include "devices/LockFuseLayout.h"

namespace zavuv::chips::avr {

inline constexpr devices::Instruction kProgrammingEnable = {0xAC, 0x53, 0x00, 0x00};
inline constexpr devices::Instruction kChipErase = {0xAC, 0x80, 0x04, 0x00};
// Loads the low byte of a Flash word: an erased byte, between the two erase
// instructions of a chip that takes two.
inline constexpr devices::Instruction kLoadErasedFlashByte = {0x40, 0x00, 0x00, 0xFF};
inline constexpr std::uint8_t kReadSignatureByte = 0x30;
inline constexpr std::uint8_t kReadCalibrationByte = 0x38;
inline constexpr std::uint8_t kLoadExtendedAddress = 0x4D;
inline constexpr std::uint8_t kWriteProgramMemoryPage = 0x4C;

}  // namespace zavuv::chips::avr

#pragma once
// The serial programming instructions of the AT89S chips that the host sends
// itself (the lock and fuse instructions are in their layouts).

#include <cstdint>

#include "devices/LockFuseLayout.h"

namespace zavuv::chips::at89s {

inline constexpr std::uint8_t kReadCodeByte = 0x20;
inline constexpr std::uint8_t kReadDataByte = 0xA0;
inline constexpr std::uint8_t kWriteCodeByte = 0x40;
inline constexpr std::uint8_t kWriteDataByte = 0xC0;
inline constexpr std::uint8_t kReadSignature = 0x28;
// The AT89S8253 keeps its signature bytes at 30h..32h, addressed by the third
// instruction byte; the AT89S51 family at 000h, 100h and 200h.
inline constexpr std::uint8_t kAt89S8253SignatureAddress = 0x30;
// The AT89S8252 and AT89S53 erase instruction; the board takes the trailing
// byte as a command of its own and ignores it.
inline constexpr devices::Instruction kAt89S8252ChipErase = {0xAC, 0x04, 0x00, 0x00};

}  // namespace zavuv::chips::at89s

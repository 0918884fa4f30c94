#pragma once
// Lock and fuse bits are active low: programming one clears it.

#include <cstdint>

#include "devices/LockFuseLayout.h"

namespace zavuv::devices {

// Clears the bit for a programmed setting and sets it otherwise; an absent
// position leaves the instruction alone.
inline void putBit(Instruction& instruction, BitPosition position, bool programmed) {
    if (!position.present())
        return;
    const auto mask = static_cast<std::uint8_t>(1u << position.bit);
    std::uint8_t& byte = instruction[position.byte];
    byte = programmed ? static_cast<std::uint8_t>(byte & ~mask)
                      : static_cast<std::uint8_t>(byte | mask);
}

// Whether the bit at this position of a read answer is programmed (reads 0).
// An absent position (-1) counts as unprogrammed.
inline bool isProgrammed(std::uint8_t answer, int bit) {
    return bit >= 0 && ((answer >> bit) & 1u) == 0;
}

}  // namespace zavuv::devices

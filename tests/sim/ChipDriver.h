#pragma once
// Drives a chip model directly on its SPI pins, as the board's firmware does.

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "sim/TargetChip.h"

namespace zavuv::sim::testing {

// Shifts the bytes through the chip and returns what it shifted out.
inline std::vector<std::uint8_t> shift(TargetChip& chip,
                                       std::initializer_list<std::uint8_t> bytes) {
    std::vector<std::uint8_t> out;
    for (std::uint8_t byte : bytes) {
        out.push_back(chip.transfer(byte));
    }
    return out;
}

// One instruction; the answer is the last byte shifted out.
inline std::uint8_t instruction(TargetChip& chip, std::initializer_list<std::uint8_t> bytes) {
    return shift(chip, bytes).back();
}

// Holds the chip in reset and sends the programming enable instruction.
inline void enterProgramming(TargetChip& chip, bool threeByteInstructions = false) {
    chip.setReset(true);
    if (threeByteInstructions) {
        shift(chip, {0xAC, 0x53, 0x00});
    } else {
        shift(chip, {0xAC, 0x53, 0x00, 0x00});
    }
}

}  // namespace zavuv::sim::testing

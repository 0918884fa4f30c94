#pragma once
// The state directory keeps a simulated chip between runs: chip.ini (section
// [Chip]: Name, Signature, Lock, LowFuse, HighFuse, ExtFuse, Calibration, all
// bytes in hex) beside flash.bin and eeprom.bin with the memories' raw bytes.

#include <filesystem>
#include <optional>
#include <string>

#include "sim/ChipImage.h"

namespace zavuv::sim {

struct LoadedState {
    std::optional<ChipImage> image;  // nothing when the directory holds no chip.ini
    std::string error;               // why the state could not be used
};

// Reads the state. A missing directory or chip.ini is no error; a chip.ini or
// memory file that cannot be read or does not fit the chip is one.
LoadedState loadChipState(const std::filesystem::path& directory);

// Writes the state, each file atomically, creating the directory if needed.
// Empty on success, else the message to show.
std::string saveChipState(const std::filesystem::path& directory, const ChipImage& image);

}  // namespace zavuv::sim

#pragma once
// The board firmware image shipped beside the program, which the firmware
// update sends to the board's boot loader unchanged.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zavuv::operations {

inline constexpr std::size_t kFirmwareImageSize = 12288;
inline constexpr std::size_t kFirmwareChunkSize = 4;

// The image file: the one the environment variable ZAVUV_FIRMWARE names, else
// firmware/zavuv-board.bin in the program's folder, else
// ../share/zavuv/firmware/zavuv-board.bin beside that folder. When neither
// exists, the installed one if its folder is there (an installation has it),
// else the first, so that the message names the place to put the image.
std::filesystem::path firmwareImagePath();

struct FirmwareImage {
    std::vector<std::uint8_t> bytes;  // exactly kFirmwareImageSize when loaded
    std::string error;                // why it could not be used; empty when loaded

    bool loaded() const { return error.empty(); }
};

// Reads the image; a missing, unreadable or wrong-sized file gives the message
// to show instead.
FirmwareImage loadFirmwareImage(const std::filesystem::path& path);

}  // namespace zavuv::operations

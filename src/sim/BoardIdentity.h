#pragma once
// What the simulated board says about itself.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zavuv::sim {

// The firmware version the application reports, as three ASCII digits.
inline constexpr std::array<char, 3> kFirmwareVersion{'1', '0', '9'};
// The boot loader's answer to the version command.
inline constexpr std::array<char, 3> kBootLoaderVersion{'l', 'd', 'r'};

inline constexpr std::string_view kApplicationIdentity = "ZAVUV ISP programmer (simulated)";
inline constexpr std::string_view kBootLoaderIdentity = "Bootloader";
inline constexpr std::array<std::uint8_t, 5> kSerialNumber{0x5A, 0x56, 0x53, 0x00, 0x01};

// A firmware image is this long and travels in chunks of this size, each
// acknowledged by one byte.
inline constexpr std::size_t kFirmwareImageSize = 12288;
inline constexpr std::size_t kFirmwareChunkSize = 4;

// The replies to the identity command (length, text, CR) and the serial-number
// command (five bytes, CR).
std::vector<std::uint8_t> identityReply(std::string_view text);
std::vector<std::uint8_t> serialNumberReply();

}  // namespace zavuv::sim

#pragma once
// What the link remembers about the board between operations.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace zavuv::link {

using FirmwareVersion = std::array<std::uint8_t, 3>;
using SerialNumber = std::array<std::uint8_t, 5>;

// The only firmware this program speaks, shown as 1.09.
inline constexpr FirmwareVersion REQUIRED_FIRMWARE_VERSION = {'1', '0', '9'};

struct LinkState {
    // The last version check found the board in its boot loader.
    bool bootLoaderSeen = false;
    // The last version check found a version other than the required one.
    bool versionConflict = false;
    // The last version read; zeros when the read failed.
    FirmwareVersion boardVersion{};
    // The last identification text and serial number read from the board.
    std::string boardIdentity;
    std::optional<SerialNumber> serialNumber;
    // COM port number 1..12 of the board; 0 = none.
    int selectedPort = 0;
};

}  // namespace zavuv::link

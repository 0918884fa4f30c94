#pragma once
// The CMD_SET_MODE arguments: line speed, SCK period code and data polling.

#include <array>
#include <cstdint>

namespace zavuv::devices {
struct DeviceInfo;
}

namespace zavuv::link {

// The line speed the board is asked to switch to; the value is the byte sent.
enum class SpeedCode : std::uint8_t {
    Baud19200 = 0,
    Baud115200 = 1,
    Baud921600 = 2,
};

int baudRateOf(SpeedCode speed);

// Index of the SCK period list used when a project holds an index outside it.
inline constexpr int kDefaultSpiPeriod = 4;

// The board's code for an SCK period list index (0 = 0.25 us ... 7 = 150 us).
std::uint8_t sckCode(int spiPeriod);

// The SCK code for a session with this device: the AT89S8253 needs bit 2 set on
// top of the period code. (AT45 DataFlash connects with a fixed code instead;
// that exception belongs to the connect sequence alone.)
std::uint8_t sckCodeFor(int spiPeriod, const devices::DeviceInfo& device);

// Settings that every CMD_SET_MODE of a session repeats.
struct ModeSettings {
    int spiPeriod = kDefaultSpiPeriod;
    bool polling = false;
    const devices::DeviceInfo* device = nullptr;  // nullptr: no device rule applies
};

std::uint8_t sessionSckCode(const ModeSettings& mode);

// The three bytes that follow CMD_SET_MODE.
std::array<std::uint8_t, 3> modeArguments(SpeedCode speed, std::uint8_t sck, bool polling);

}  // namespace zavuv::link

#pragma once
// The CMD_SET_MODE arguments: line speed, SCK period code and data polling.

#include <array>
#include <cstdint>

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
constexpr std::uint8_t sckCode(int spiPeriod) {
    constexpr std::array<std::uint8_t, 8> codes = {0x80, 0x00, 0x81, 0x01, 0x82, 0x02, 0x03, 0xFF};
    // A project file may hold any number; reading past the table would send a
    // random speed to the target.
    if (spiPeriod < 0 || spiPeriod >= static_cast<int>(codes.size()))
        spiPeriod = kDefaultSpiPeriod;
    return codes[static_cast<std::size_t>(spiPeriod)];
}

// Settings that every CMD_SET_MODE of a session repeats. The chip's driver
// gives the SCK code (some chips need bits of their own on top of the period's).
struct ModeSettings {
    std::uint8_t sck = sckCode(kDefaultSpiPeriod);
    bool polling = false;
};

// The three bytes that follow CMD_SET_MODE.
std::array<std::uint8_t, 3> modeArguments(SpeedCode speed, std::uint8_t sck, bool polling);

}  // namespace zavuv::link

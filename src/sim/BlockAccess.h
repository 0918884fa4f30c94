#pragma once
// How the board turns its block commands into the chip's own instructions, by
// the device code the host selected: AVR serial programming for the AVR codes,
// 3-byte instructions for the AT89S8252 (code 1) and AT89S53 (code 3), 4-byte
// byte instructions for the AT89S8253 (code 12). Each memory has an address
// counter that the set-word command starts and every byte moves on.

#include <cstdint>

#include "sim/TargetChip.h"

namespace zavuv::sim {

class BlockAccess {
public:
    explicit BlockAccess(TargetChip& chip) : chip_(chip) {}

    void setDeviceCode(std::uint8_t code) { deviceCode_ = code; }
    // AVR Flash counts words, the AT89S Flash and every EEPROM bytes.
    void setWordAddress(std::uint16_t word);

    std::uint8_t readFlash();
    std::uint8_t readEeprom();
    // Writes one byte; with polling, reads it back and answers whether it arrived.
    // AVR Flash is loaded into the page buffer and cannot be polled.
    bool writeFlash(std::uint8_t value, bool polling);
    bool writeEeprom(std::uint8_t value, bool polling);

    // A new block command: the host may have loaded the chip's extended address
    // byte itself since, so the next AVR Flash read loads it again.
    void beginBlock() { extendedLoaded_ = false; }

private:
    enum class Set { Avr, At89S8252, At89S53, At89S8253 };
    Set set() const;
    std::uint8_t send(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3);
    std::uint8_t send3(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2);
    std::uint8_t readFlashAt(std::uint32_t address);
    std::uint8_t readEepromAt(std::uint32_t address);

    TargetChip& chip_;
    std::uint8_t deviceCode_ = 0;
    std::uint32_t flashAddress_ = 0;  // in bytes
    std::uint32_t eepromAddress_ = 0;
    bool extendedLoaded_ = false;
    std::uint8_t extended_ = 0;
};

}  // namespace zavuv::sim

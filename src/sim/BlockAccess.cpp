#include "sim/BlockAccess.h"

#include "sim/At89s8252Chip.h"

namespace zavuv::sim {

namespace {

std::uint8_t highByte(std::uint32_t address) {
    return static_cast<std::uint8_t>(address >> 8);
}
std::uint8_t lowByte(std::uint32_t address) {
    return static_cast<std::uint8_t>(address);
}

}  // namespace

BlockAccess::Set BlockAccess::set() const {
    switch (deviceCode_) {
    case 1:
        return Set::At89S8252;
    case 3:
        return Set::At89S53;
    case 12:
        return Set::At89S8253;
    default:
        return Set::Avr;
    }
}

void BlockAccess::setWordAddress(std::uint16_t word) {
    flashAddress_ = set() == Set::Avr ? 2u * word : word;
    eepromAddress_ = word;
    extendedLoaded_ = false;
}

std::uint8_t BlockAccess::send(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
    chip_.transfer(b0);
    chip_.transfer(b1);
    chip_.transfer(b2);
    return chip_.transfer(b3);
}

std::uint8_t BlockAccess::send3(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2) {
    chip_.transfer(b0);
    chip_.transfer(b1);
    return chip_.transfer(b2);
}

std::uint8_t BlockAccess::readFlashAt(std::uint32_t address) {
    switch (set()) {
    case Set::At89S8252:
        return send3(At89s8252Encoding::flash8252(address, false), lowByte(address), 0x00);
    case Set::At89S53:
        return send3(At89s8252Encoding::flash53(address, false), lowByte(address), 0x00);
    case Set::At89S8253:
        return send(0x20, highByte(address), lowByte(address), 0x00);
    case Set::Avr:
        break;
    }
    const std::uint32_t word = address / 2;
    const auto extended = static_cast<std::uint8_t>(word >> 16);
    if (!extendedLoaded_ || extended != extended_) {
        send(0x4D, 0x00, extended, 0x00);
        extended_ = extended;
        extendedLoaded_ = true;
    }
    return send((address & 1) != 0 ? 0x28 : 0x20, highByte(word), lowByte(word), 0x00);
}

std::uint8_t BlockAccess::readEepromAt(std::uint32_t address) {
    switch (set()) {
    case Set::At89S8252:
        return send3(At89s8252Encoding::data8252(address, false), lowByte(address), 0x00);
    case Set::At89S53:
        return 0xFF;  // no data memory
    case Set::At89S8253:
    case Set::Avr:
        break;
    }
    return send(0xA0, highByte(address), lowByte(address), 0x00);
}

std::uint8_t BlockAccess::readFlash() {
    return readFlashAt(flashAddress_++);
}

std::uint8_t BlockAccess::readEeprom() {
    return readEepromAt(eepromAddress_++);
}

bool BlockAccess::writeFlash(std::uint8_t value, bool polling) {
    const std::uint32_t address = flashAddress_++;
    switch (set()) {
    case Set::At89S8252:
        send3(At89s8252Encoding::flash8252(address, true), lowByte(address), value);
        break;
    case Set::At89S53:
        send3(At89s8252Encoding::flash53(address, true), lowByte(address), value);
        break;
    case Set::At89S8253:
        send(0x40, highByte(address), lowByte(address), value);
        break;
    case Set::Avr: {
        const std::uint32_t word = address / 2;
        send((address & 1) != 0 ? 0x48 : 0x40, highByte(word), lowByte(word), value);
        return true;
    }
    }
    return !polling || readFlashAt(address) == value;
}

bool BlockAccess::writeEeprom(std::uint8_t value, bool polling) {
    const std::uint32_t address = eepromAddress_++;
    switch (set()) {
    case Set::At89S8252:
        send3(At89s8252Encoding::data8252(address, true), lowByte(address), value);
        break;
    case Set::At89S53:
        return true;  // no data memory: nothing to write or poll
    case Set::At89S8253:
    case Set::Avr:
        send(0xC0, highByte(address), lowByte(address), value);
        break;
    }
    return !polling || readEepromAt(address) == value;
}

}  // namespace zavuv::sim

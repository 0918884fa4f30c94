#include "sim/At89s8252Chip.h"

#include <algorithm>

namespace zavuv::sim {

namespace {

constexpr std::uint8_t kSpecial = 0xAC;  // enable, erase, lock write

}  // namespace

std::uint8_t At89s8252Encoding::flash8252(std::size_t address, bool write) {
    return static_cast<std::uint8_t>(((address >> 8) & 0x1F) << 3 | (write ? 0x02 : 0x01));
}

std::uint8_t At89s8252Encoding::data8252(std::size_t address, bool write) {
    return static_cast<std::uint8_t>(((address >> 8) & 0x07) << 3 | (write ? 0x06 : 0x05));
}

std::uint8_t At89s8252Encoding::flash53(std::size_t address, bool write) {
    return static_cast<std::uint8_t>(((address >> 8) & 0x1F) << 3 | ((address >> 13) & 1) << 2 |
                                     (write ? 0x02 : 0x01));
}

bool At89s8252Chip::isProgrammingEnable(std::span<const std::uint8_t> instruction) const {
    return instruction[0] == kSpecial && instruction[1] == 0x53;
}

At89s8252Chip::Decoded At89s8252Chip::decode(std::uint8_t first, std::uint8_t low) const {
    const std::size_t high = first >> 3;
    if (isAt89S53_) {
        const std::size_t address = (std::size_t{(first >> 2) & 1u} << 13) | (high << 8) | low;
        switch (first & 0x03) {
        case 0x01:
            return {Access::ReadFlash, address};
        case 0x02:
            return {Access::WriteFlash, address};
        default:
            return {};
        }
    }
    switch (first & 0x07) {
    case 0x01:
        return {Access::ReadFlash, (high << 8) | low};
    case 0x02:
        return {Access::WriteFlash, (high << 8) | low};
    case 0x05:
        return {Access::ReadData, ((high & 0x07) << 8) | low};
    case 0x06:
        return {Access::WriteData, ((high & 0x07) << 8) | low};
    default:
        return {};
    }
}

std::uint8_t At89s8252Chip::answer(std::span<const std::uint8_t> leading) {
    if (leading[0] == kSpecial) {
        return leading[1];
    }
    const Decoded decoded = decode(leading[0], leading[1]);
    // With LB2 programmed the chip gives meaningless data: the low address byte.
    switch (decoded.access) {
    case Access::ReadFlash:
        return image_.readProtected() ? leading[1]
                                      : image_.flash[decoded.address % image_.flash.size()];
    case Access::ReadData:
        if (image_.eeprom.empty()) {
            return 0xFF;
        }
        return image_.readProtected() ? leading[1]
                                      : image_.eeprom[decoded.address % image_.eeprom.size()];
    default:
        return leading[1];
    }
}

void At89s8252Chip::execute(std::span<const std::uint8_t> instruction) {
    if (instruction[0] == kSpecial) {
        executeSpecial(instruction[1]);
        return;
    }
    const Decoded decoded = decode(instruction[0], instruction[1]);
    if (image_.writeProtected()) {
        return;
    }
    if (decoded.access == Access::WriteFlash) {
        ChipImage::programFlashByte(image_.flash, decoded.address, instruction[2]);
    } else if (decoded.access == Access::WriteData && !image_.eeprom.empty()) {
        image_.eeprom[decoded.address % image_.eeprom.size()] = instruction[2];
    }
}

// AC xxxxx100 erases the chip; AC (LB1 LB2 LB3 x x 1 1 1) programs the lock bits
// whose bit is cleared.
void At89s8252Chip::executeSpecial(std::uint8_t kind) {
    if ((kind & 0x07) == 0x04) {
        std::fill(image_.flash.begin(), image_.flash.end(), 0xFF);
        std::fill(image_.eeprom.begin(), image_.eeprom.end(), 0xFF);
        image_.lock = 0xFF;
    } else if ((kind & 0x07) == 0x07) {
        const std::uint8_t keep = static_cast<std::uint8_t>(
            0xF8 | ((kind >> 7) & 1) | ((kind >> 6) & 1) << 1 | ((kind >> 5) & 1) << 2);
        image_.lock &= keep;
    }
}

}  // namespace zavuv::sim

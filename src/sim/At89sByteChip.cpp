#include "sim/At89sByteChip.h"

#include <algorithm>

namespace zavuv::sim {

namespace {

constexpr std::uint8_t kSpecial = 0xAC;  // enable, erase, lock (and fuse) writes
constexpr std::uint8_t kReadFlash = 0x20;
constexpr std::uint8_t kWriteFlash = 0x40;
constexpr std::uint8_t kReadEeprom = 0xA0;
constexpr std::uint8_t kWriteEeprom = 0xC0;
constexpr std::uint8_t kReadLock = 0x24;
constexpr std::uint8_t kReadSignature = 0x28;
constexpr std::uint8_t kReadFuses = 0x21;
constexpr std::uint8_t kEnableAnswer = 0x69;

std::size_t addressOf(std::span<const std::uint8_t> instruction) {
    return (std::size_t{instruction[1]} << 8) | instruction[2];
}

}  // namespace

bool At89sByteChip::isProgrammingEnable(std::span<const std::uint8_t> instruction) const {
    return instruction[0] == kSpecial && instruction[1] == 0x53;
}

std::uint8_t At89sByteChip::answerWhileDisabled(std::span<const std::uint8_t> leading) {
    if (leading[0] == kSpecial && leading[1] == 0x53) {
        return kEnableAnswer;
    }
    return leading.back();
}

std::uint8_t At89sByteChip::answer(std::span<const std::uint8_t> leading) {
    const std::uint8_t low = leading[2];
    switch (leading[0]) {
    case kSpecial:
        return leading[1] == 0x53 ? kEnableAnswer : low;
    case kReadFlash:
        // A chip with LB2 programmed gives meaningless data: the low address byte.
        return image_.readProtected() ? low
                                      : image_.flash[addressOf(leading) % image_.flash.size()];
    case kReadEeprom:
        if (image_.eeprom.empty()) {
            return 0xFF;
        }
        return image_.readProtected() ? low
                                      : image_.eeprom[addressOf(leading) % image_.eeprom.size()];
    default:
        return answerOther(leading);
    }
}

void At89sByteChip::execute(std::span<const std::uint8_t> instruction) {
    switch (instruction[0]) {
    case kSpecial:
        if (instruction[1] == 0x80) {
            std::fill(image_.flash.begin(), image_.flash.end(), 0xFF);
            std::fill(image_.eeprom.begin(), image_.eeprom.end(), 0xFF);
            image_.lock = 0xFF;
            return;
        }
        executeOther(instruction);
        return;
    case kWriteFlash:
        if (!image_.writeProtected()) {
            ChipImage::programFlashByte(image_.flash, addressOf(instruction), instruction[3]);
        }
        return;
    case kWriteEeprom:
        if (!image_.writeProtected() && !image_.eeprom.empty()) {
            image_.eeprom[addressOf(instruction) % image_.eeprom.size()] = instruction[3];
        }
        return;
    default:
        executeOther(instruction);
    }
}

// AT89S51 set: lock bits read back as 1 when programmed, LB1..LB3 in bits 2..4;
// the signature bytes lie at 000h, 100h and 200h (the second instruction byte).
std::uint8_t At89s51Chip::answerOther(std::span<const std::uint8_t> leading) {
    switch (leading[0]) {
    case kReadLock:
        return static_cast<std::uint8_t>((~image_.lock & 0x07) << 2);
    case kReadSignature:
        return leading[1] < 3 ? image_.signature[leading[1]] : 0xFF;
    default:
        return 0xFF;
    }
}

// Write Lock Bits AC E1 / E2 / E3 programs LB1, LB2 or LB3.
void At89s51Chip::executeOther(std::span<const std::uint8_t> instruction) {
    if (instruction[0] != kSpecial || (instruction[1] & 0xFC) != 0xE0) {
        return;
    }
    const int bit = instruction[1] & 0x03;
    if (bit != 0) {
        image_.lock &= static_cast<std::uint8_t>(~(1u << (bit - 1)));
    }
}

// AT89S8253 set: lock bits read back as 0 when programmed, LB1..LB3 in bits 0..2;
// signature at 30h..32h (the third instruction byte); user fuses read with 0x21.
std::uint8_t At89s8253Chip::answerOther(std::span<const std::uint8_t> leading) {
    switch (leading[0]) {
    case kReadLock:
        return static_cast<std::uint8_t>(0xF8 | (image_.lock & 0x07));
    case kReadSignature: {
        const int index = leading[2] - 0x30;
        return index >= 0 && index < 3 ? image_.signature[static_cast<std::size_t>(index)] : 0xFF;
    }
    case kReadFuses:
        return image_.lowFuse;
    default:
        return 0xFF;
    }
}

// AC E0+bits writes the lock bits (cleared bits program, never unprogram);
// AC 10+bits writes the four user fuses, which take the new value whole.
void At89s8253Chip::executeOther(std::span<const std::uint8_t> instruction) {
    if (instruction[0] != kSpecial) {
        return;
    }
    const std::uint8_t kind = instruction[1];
    if ((kind & 0xF8) == 0xE0) {
        image_.lock &= static_cast<std::uint8_t>(0xF8 | (kind & 0x07));
    } else if ((kind & 0xF0) == 0x10) {
        image_.lowFuse = static_cast<std::uint8_t>(0xF0 | (kind & 0x0F));
    }
}

}  // namespace zavuv::sim

#include "sim/AvrChip.h"

#include <algorithm>

#include "devices/FuseBitPlace.h"

namespace zavuv::sim {

namespace {

// Opcodes of the AVR serial programming instruction set (first instruction byte).
constexpr std::uint8_t kSpecial = 0xAC;  // enable, erase, lock and fuse writes
constexpr std::uint8_t kReadFlashLow = 0x20;
constexpr std::uint8_t kReadFlashHigh = 0x28;
constexpr std::uint8_t kLoadFlashLow = 0x40;  // write, on chips without pages
constexpr std::uint8_t kLoadFlashHigh = 0x48;
constexpr std::uint8_t kWritePage = 0x4C;
constexpr std::uint8_t kLoadExtendedAddress = 0x4D;
constexpr std::uint8_t kReadEeprom = 0xA0;
constexpr std::uint8_t kWriteEeprom = 0xC0;
constexpr std::uint8_t kReadSignature = 0x30;
constexpr std::uint8_t kReadCalibration = 0x38;
constexpr std::uint8_t kReadLockOrHighFuse = 0x58;
constexpr std::uint8_t kReadLowOrExtFuse = 0x50;

}  // namespace

AvrChip::AvrChip(ChipImage& image)
    : InstructionChip(4), image_(image),
      pageWords_(static_cast<std::size_t>(image.device().pageSize)),
      pageBuffer_(2 * pageWords_, 0xFF) {}

bool AvrChip::resetPinResets() const {
    // RSTDISBL makes the reset pin an I/O pin and DWEN makes it the debugWIRE
    // line: the chip runs on, and only a high-voltage programmer reaches it.
    return !image_.fuseProgrammed("RSTDISBL") && !image_.fuseProgrammed("DWEN");
}

bool AvrChip::isProgrammingEnable(std::span<const std::uint8_t> instruction) const {
    return instruction[0] == kSpecial && instruction[1] == 0x53;
}

std::size_t AvrChip::flashByteAddress(std::uint8_t opcode, std::uint8_t high,
                                      std::uint8_t low) const {
    const std::size_t word = (std::size_t{extendedAddress_} << 16) | (std::size_t{high} << 8) | low;
    return 2 * word + ((opcode & 0x08) != 0 ? 1 : 0);
}

std::uint8_t AvrChip::answer(std::span<const std::uint8_t> leading) {
    const std::uint8_t opcode = leading[0];
    const std::uint8_t high = leading[1];
    const std::uint8_t low = leading[2];
    // A read-protected chip answers with the low address byte: memories give
    // meaningless data, and on the old chips signatures read 00 01 02.
    const bool hidden = image_.readProtected();
    switch (opcode) {
    case kReadFlashLow:
    case kReadFlashHigh:
        if (hidden) {
            return low;
        }
        return image_.flash[flashByteAddress(opcode, high, low) % image_.flash.size()];
    case kReadEeprom:
        if (hidden || image_.eeprom.empty()) {
            return hidden ? low : 0xFF;
        }
        return image_.eeprom[((std::size_t{high} << 8) | low) % image_.eeprom.size()];
    case kReadSignature:
        if (hidden && image_.lockHidesSignature) {
            return low;
        }
        return (low & 0x03) < 3 ? image_.signature[low & 0x03] : 0xFF;
    case kReadCalibration:
        return low < image_.calibration.size() ? image_.calibration[low] : 0xFF;
    case kReadLockOrHighFuse:
        return high == 0x08 ? image_.highFuse : static_cast<std::uint8_t>(image_.lock | 0xC0);
    case kReadLowOrExtFuse:
        return high == 0x08 ? image_.extFuse : image_.lowFuse;
    default:
        return low;  // an echo, as for every other byte
    }
}

void AvrChip::execute(std::span<const std::uint8_t> instruction) {
    const std::uint8_t opcode = instruction[0];
    const std::uint8_t high = instruction[1];
    const std::uint8_t low = instruction[2];
    const std::uint8_t data = instruction[3];
    switch (opcode) {
    case kSpecial:
        executeSpecial(instruction);
        return;
    case kLoadExtendedAddress:
        extendedAddress_ = low;
        return;
    case kLoadFlashLow:
    case kLoadFlashHigh:
        if (pageWords_ != 0) {
            // Only the word's place inside the page counts while loading.
            pageBuffer_[flashByteAddress(opcode, 0, low) % pageBuffer_.size()] = data;
        } else if (!image_.writeProtected()) {
            ChipImage::programFlashByte(image_.flash, flashByteAddress(opcode, high, low), data);
        }
        return;
    case kWritePage:
        if (pageWords_ != 0) {
            const std::size_t first =
                flashByteAddress(opcode, high, low) / pageBuffer_.size() * pageBuffer_.size();
            if (!image_.writeProtected()) {
                for (std::size_t i = 0; i < pageBuffer_.size(); ++i) {
                    ChipImage::programFlashByte(image_.flash, first + i, pageBuffer_[i]);
                }
            }
            std::fill(pageBuffer_.begin(), pageBuffer_.end(), 0xFF);
        }
        return;
    case kWriteEeprom:
        if (!image_.writeProtected() && !image_.eeprom.empty()) {
            image_.eeprom[((std::size_t{high} << 8) | low) % image_.eeprom.size()] = data;
        }
        return;
    default:
        return;  // reads act through their answer; unknown instructions do nothing
    }
}

void AvrChip::executeSpecial(std::span<const std::uint8_t> instruction) {
    const std::uint8_t kind = instruction[1];
    const std::uint8_t data = instruction[3];
    if ((kind & 0xE0) == 0x80) {
        chipErase();
    } else if ((kind & 0xE0) == 0xE0) {
        // Lock bits can only be programmed; a chip erase clears them.
        image_.lock &= static_cast<std::uint8_t>(data | 0xC0);
    } else if (kind == 0xA0) {
        writeFuseByte(devices::FuseByte::Low, data);
    } else if (kind == 0xA8) {
        writeFuseByte(devices::FuseByte::High, data);
    } else if (kind == 0xA4) {
        writeFuseByte(devices::FuseByte::Extended, data);
    }
}

void AvrChip::writeFuseByte(devices::FuseByte which, std::uint8_t value) {
    std::uint8_t kept = 0;
    // Serial programming cannot change SPIEN: it would cut its own branch.
    const devices::LockFuseLayout* layout = devices::layoutOf(image_.deviceIndex);
    if (const auto spien = layout ? devices::fuseBitPlace(*layout, "SPIEN") : std::nullopt;
        spien && spien->byte == which) {
        kept = static_cast<std::uint8_t>(1u << spien->bit);
    }
    image_.setFuseByte(
        which, static_cast<std::uint8_t>((value & ~kept) | (image_.fuseByte(which) & kept)));
}

void AvrChip::chipErase() {
    std::fill(image_.flash.begin(), image_.flash.end(), 0xFF);
    if (!image_.fuseProgrammed("EESAVE")) {
        std::fill(image_.eeprom.begin(), image_.eeprom.end(), 0xFF);
    }
    std::fill(pageBuffer_.begin(), pageBuffer_.end(), 0xFF);
    image_.lock = 0xFF;
}

}  // namespace zavuv::sim

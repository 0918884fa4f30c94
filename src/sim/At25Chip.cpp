#include "sim/At25Chip.h"

#include <algorithm>

namespace zavuv::sim {

namespace {

constexpr std::uint8_t kWriteStatus = 0x01;
constexpr std::uint8_t kWrite = 0x02;
constexpr std::uint8_t kRead = 0x03;
constexpr std::uint8_t kWriteDisable = 0x04;
constexpr std::uint8_t kReadStatus = 0x05;
constexpr std::uint8_t kWriteEnable = 0x06;

constexpr std::uint8_t kWriteEnableLatch = 0x02;
constexpr std::uint8_t kNonVolatileBits = 0x8C;  // WPEN, BP1, BP0

}  // namespace

At25Chip::At25Chip(ChipImage& image)
    : image_(image), pageSize_(static_cast<std::size_t>(image.device().pageSize)),
      latch_(pageSize_, -1) {}

std::uint8_t At25Chip::status() const {
    return static_cast<std::uint8_t>((image_.lock & kNonVolatileBits) |
                                     (writeEnabled_ ? kWriteEnableLatch : 0));
}

bool At25Chip::isProtected(std::size_t address) const {
    const std::size_t size = image_.eeprom.size();
    switch ((image_.lock >> 2) & 0x03) {
    case 1:
        return address >= size - size / 4;
    case 2:
        return address >= size / 2;
    case 3:
        return true;
    default:
        return false;
    }
}

void At25Chip::setSelected(bool selected) {
    if (selected_ && !selected) {
        finishWrite();
    }
    selected_ = selected;
    received_ = 0;
}

// Raising chip select starts the write cycle of a complete write instruction;
// any write cycle ends with the write enable latch cleared.
void At25Chip::finishWrite() {
    if (opcode_ == kWrite && received_ > 3 && writeEnabled_) {
        for (std::size_t offset = 0; offset < pageSize_; ++offset) {
            const std::size_t address = latchPage_ + offset;
            if (latch_[offset] >= 0 && !isProtected(address)) {
                image_.eeprom[address] = static_cast<std::uint8_t>(latch_[offset]);
            }
        }
        writeEnabled_ = false;
    } else if (opcode_ == kWriteStatus && statusWritePending_ && writeEnabled_) {
        image_.lock = static_cast<std::uint8_t>((image_.lock & ~kNonVolatileBits) |
                                                (pendingStatus_ & kNonVolatileBits));
        writeEnabled_ = false;
    }
    std::fill(latch_.begin(), latch_.end(), -1);
    statusWritePending_ = false;
    opcode_ = 0;
}

std::uint8_t At25Chip::transfer(std::uint8_t mosi) {
    if (!selected_) {
        return 0xFF;
    }
    const int index = received_++;
    if (index == 0) {
        opcode_ = mosi;
        if (mosi == kWriteEnable) {
            writeEnabled_ = true;
        } else if (mosi == kWriteDisable) {
            writeEnabled_ = false;
        }
        return 0xFF;
    }
    const std::size_t size = image_.eeprom.size();
    switch (opcode_) {
    case kReadStatus:
        return status();
    case kWriteStatus:
        if (index == 1) {
            pendingStatus_ = mosi;
            statusWritePending_ = true;
        }
        return 0xFF;
    case kRead:
    case kWrite:
        if (index == 1) {
            address_ = mosi;
            return 0xFF;
        }
        if (index == 2) {
            address_ = ((address_ << 8) | mosi) % size;
            latchPage_ = address_ / pageSize_ * pageSize_;
            return 0xFF;
        }
        if (opcode_ == kRead) {
            const std::uint8_t value = image_.eeprom[address_];
            address_ = (address_ + 1) % size;
            return value;
        }
        // The address wraps inside its page; a later byte for the same place wins.
        latch_[(address_ + static_cast<std::size_t>(index - 3)) % pageSize_] = mosi;
        return 0xFF;
    default:
        return 0xFF;
    }
}

}  // namespace zavuv::sim

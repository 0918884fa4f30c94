#pragma once
// An AT25 SPI serial EEPROM: instructions framed by chip select; write enable
// before every write; a page write wraps inside its page and takes effect when
// the chip is deselected; the status register's block-protect bits guard the
// upper quarter, half or all of the memory.

#include <cstdint>
#include <vector>

#include "sim/ChipImage.h"
#include "sim/TargetChip.h"

namespace zavuv::sim {

class At25Chip : public TargetChip {
public:
    explicit At25Chip(ChipImage& image);

    void setReset(bool) override {}
    void setSelected(bool selected) override;
    std::uint8_t transfer(std::uint8_t mosi) override;

private:
    std::uint8_t status() const;
    bool isProtected(std::size_t address) const;
    void finishWrite();

    ChipImage& image_;
    const std::size_t pageSize_;
    bool selected_ = false;
    bool writeEnabled_ = false;
    std::uint8_t opcode_ = 0;
    int received_ = 0;  // bytes of the instruction so far, opcode included
    std::size_t address_ = 0;
    // The page write in progress: its page's first address and, per place in the
    // page, the byte to write or -1.
    std::size_t latchPage_ = 0;
    std::vector<int> latch_;
    std::uint8_t pendingStatus_ = 0;
    bool statusWritePending_ = false;
};

}  // namespace zavuv::sim

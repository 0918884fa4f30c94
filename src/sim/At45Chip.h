#pragma once
// An AT45 DataFlash: instructions framed by chip select, a 24-bit address whose
// high bits are the page number (shifted by the part's address shift) and low
// bits the byte in the page; two SRAM buffers; page programs and erases run when
// the chip is deselected. The status register tells the density.

#include <array>
#include <cstdint>
#include <vector>

#include "sim/ChipImage.h"
#include "sim/TargetChip.h"

namespace zavuv::sim {

class At45Chip : public TargetChip {
public:
    explicit At45Chip(ChipImage& image);

    void setReset(bool) override {}
    void setSelected(bool selected) override;
    std::uint8_t transfer(std::uint8_t mosi) override;

    enum class Action {
        Unknown,
        Status,
        ArrayRead,  // across pages, wrapping at the end of the array
        PageRead,   // wrapping inside the page
        BufferRead,
        BufferWrite,
        ProgramThroughBuffer,  // buffer write, then program with erase on deselect
        BufferToPageErase,
        BufferToPage,  // without erase: bits only cleared
        PageToBuffer,
        PageErase,
        BlockErase,  // eight pages
    };

private:
    std::uint8_t status() const;
    void finish();
    std::vector<std::uint8_t>& buffer() { return buffers_[bufferIndex_]; }
    std::size_t pageStart(std::size_t page) const { return page * pageSize_; }

    ChipImage& image_;
    const std::size_t pageSize_;
    const std::size_t pageCount_;
    const int offsetBits_;  // bits of the byte-in-page part of the address
    std::array<std::vector<std::uint8_t>, 2> buffers_;
    bool selected_ = false;
    Action action_ = Action::Unknown;
    int headerLength_ = 1;
    std::size_t bufferIndex_ = 0;
    int received_ = 0;
    std::uint32_t address_ = 0;
    std::size_t page_ = 0;
    std::size_t offset_ = 0;  // in the page or buffer; for array reads, in the array
};

}  // namespace zavuv::sim

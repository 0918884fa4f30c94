#include "sim/At45Chip.h"

#include <algorithm>

namespace zavuv::sim {

namespace {

struct Opcode {
    std::uint8_t code;
    At45Chip::Action action;
    int headerLength;  // opcode, address and don't-care bytes
    std::size_t buffer;
};

using Action = At45Chip::Action;

constexpr Opcode kOpcodes[] = {
    {0xD7, Action::Status, 1, 0},
    {0x57, Action::Status, 1, 0},
    {0xE8, Action::ArrayRead, 8, 0},
    {0x68, Action::ArrayRead, 8, 0},
    {0x0B, Action::ArrayRead, 5, 0},
    {0x03, Action::ArrayRead, 4, 0},
    {0xD2, Action::PageRead, 8, 0},
    {0x52, Action::PageRead, 8, 0},
    {0xD4, Action::BufferRead, 5, 0},
    {0x54, Action::BufferRead, 5, 0},
    {0xD6, Action::BufferRead, 5, 1},
    {0x56, Action::BufferRead, 5, 1},
    {0x84, Action::BufferWrite, 4, 0},
    {0x87, Action::BufferWrite, 4, 1},
    {0x82, Action::ProgramThroughBuffer, 4, 0},
    {0x85, Action::ProgramThroughBuffer, 4, 1},
    {0x83, Action::BufferToPageErase, 4, 0},
    {0x86, Action::BufferToPageErase, 4, 1},
    {0x88, Action::BufferToPage, 4, 0},
    {0x89, Action::BufferToPage, 4, 1},
    {0x53, Action::PageToBuffer, 4, 0},
    {0x55, Action::PageToBuffer, 4, 1},
    {0x81, Action::PageErase, 4, 0},
    {0x50, Action::BlockErase, 4, 0},
};

constexpr std::uint8_t kReady = 0x80;
constexpr std::size_t kPagesPerBlock = 8;

}  // namespace

At45Chip::At45Chip(ChipImage& image)
    : image_(image), pageSize_(static_cast<std::size_t>(image.device().pageSize)),
      pageCount_(image.flash.size() / pageSize_),
      offsetBits_(8 + image.device().addressShift()), buffers_{std::vector<std::uint8_t>(pageSize_,
                                                                                         0xFF),
                                                               std::vector<std::uint8_t>(pageSize_,
                                                                                         0xFF)} {}

// Never busy: the board waits the page time before it asks.
std::uint8_t At45Chip::status() const {
    return static_cast<std::uint8_t>(kReady | image_.device().statusValue());
}

void At45Chip::setSelected(bool selected) {
    if (selected_ && !selected && received_ >= headerLength_) {
        finish();
    }
    selected_ = selected;
    received_ = 0;
    action_ = Action::Unknown;
}

void At45Chip::finish() {
    const auto page = image_.flash.begin() + static_cast<std::ptrdiff_t>(pageStart(page_));
    const auto pageEnd = page + static_cast<std::ptrdiff_t>(pageSize_);
    switch (action_) {
    case Action::ProgramThroughBuffer:
    case Action::BufferToPageErase:
        std::copy(buffer().begin(), buffer().end(), page);
        break;
    case Action::BufferToPage:
        std::transform(page, pageEnd, buffer().begin(), page,
                       [](std::uint8_t old, std::uint8_t fresh) { return old & fresh; });
        break;
    case Action::PageToBuffer:
        std::copy(page, pageEnd, buffer().begin());
        break;
    case Action::PageErase:
        std::fill(page, pageEnd, 0xFF);
        break;
    case Action::BlockErase: {
        const std::size_t first = page_ / kPagesPerBlock * kPagesPerBlock;
        const std::size_t last = std::min(first + kPagesPerBlock, pageCount_);
        std::fill(image_.flash.begin() + static_cast<std::ptrdiff_t>(pageStart(first)),
                  image_.flash.begin() + static_cast<std::ptrdiff_t>(pageStart(last)), 0xFF);
        break;
    }
    default:
        break;
    }
}

std::uint8_t At45Chip::transfer(std::uint8_t mosi) {
    if (!selected_) {
        return 0xFF;
    }
    const int index = received_++;
    if (index == 0) {
        action_ = Action::Unknown;
        headerLength_ = 1;
        for (const Opcode& opcode : kOpcodes) {
            if (opcode.code == mosi) {
                action_ = opcode.action;
                headerLength_ = opcode.headerLength;
                bufferIndex_ = opcode.buffer;
            }
        }
        address_ = 0;
        return 0xFF;
    }
    if (action_ == Action::Status) {
        return status();
    }
    if (index <= 3) {
        address_ = (address_ << 8) | mosi;
        if (index == 3) {
            page_ = (address_ >> offsetBits_) % pageCount_;
            offset_ = (address_ & ((1u << offsetBits_) - 1)) % pageSize_;
            if (action_ == Action::ArrayRead) {
                offset_ += pageStart(page_);
            }
        }
        return 0xFF;
    }
    if (index < headerLength_) {
        return 0xFF;  // don't-care bytes
    }
    switch (action_) {
    case Action::ArrayRead: {
        const std::uint8_t value = image_.flash[offset_];
        offset_ = (offset_ + 1) % image_.flash.size();
        return value;
    }
    case Action::PageRead: {
        const std::uint8_t value = image_.flash[pageStart(page_) + offset_];
        offset_ = (offset_ + 1) % pageSize_;
        return value;
    }
    case Action::BufferRead: {
        const std::uint8_t value = buffer()[offset_];
        offset_ = (offset_ + 1) % pageSize_;
        return value;
    }
    case Action::BufferWrite:
    case Action::ProgramThroughBuffer:
        buffer()[offset_] = mosi;
        offset_ = (offset_ + 1) % pageSize_;
        return 0xFF;
    default:
        return 0xFF;
    }
}

}  // namespace zavuv::sim

#pragma once
// A target chip as the board's SPI pins see it. The board composes the chip's
// own instructions; the chip answers byte for byte as it shifts them in.

#include <cstdint>

namespace zavuv::sim {

class TargetChip {
public:
    virtual ~TargetChip() = default;

    // The board holds a microcontroller in reset for a programming session and
    // lets it go at the end; taking hold again starts a fresh session.
    virtual void setReset(bool held) = 0;
    // The chip-select line of the serial memories; microcontrollers have none.
    virtual void setSelected(bool selected) = 0;
    // One SPI byte: what the chip shifts out while this byte shifts in.
    virtual std::uint8_t transfer(std::uint8_t mosi) = 0;
};

}  // namespace zavuv::sim

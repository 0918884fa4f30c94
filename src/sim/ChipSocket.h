#pragma once
// The socket the target chip sits in. The fault swap-chip-after=N takes the
// chip out after the N-th programming session (a session begins with the
// board's reset strobe): the next session finds the socket empty, the one
// after that a fresh, erased chip of the same kind. The serial memories have
// no reset line, so theirs is never swapped.

#include <cstdint>
#include <memory>
#include <optional>

#include "sim/ChipImage.h"
#include "sim/TargetChip.h"

namespace zavuv::sim {

class ChipSocket final : public TargetChip {
public:
    // The chip works on `image`, which must outlive the socket; the fresh chip
    // takes its place there, so the state directory keeps the chip in the socket.
    ChipSocket(ChipImage& image, std::optional<std::int64_t> swapAfter);

    void setReset(bool held) override;
    void setSelected(bool selected) override;
    // An empty socket leaves the data line to its pull-up: every byte reads FF.
    std::uint8_t transfer(std::uint8_t mosi) override;

private:
    ChipImage& image_;
    std::unique_ptr<TargetChip> chip_;  // null while the socket is empty
    const std::optional<std::int64_t> swapAfter_;
    std::int64_t sessions_ = 0;
};

}  // namespace zavuv::sim

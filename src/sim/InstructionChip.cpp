#include "sim/InstructionChip.h"

namespace zavuv::sim {

void InstructionChip::setReset(bool held) {
    resetHeld_ = held && resetPinResets();
    enabled_ = false;
    received_ = 0;
}

std::uint8_t InstructionChip::transfer(std::uint8_t mosi) {
    if (!resetHeld_) {
        return 0xFF;  // a running chip ignores the programming pins
    }
    std::uint8_t out = 0xFF;
    if (received_ == length_ - 1) {
        const std::span leading(bytes_.data(), static_cast<std::size_t>(received_));
        out = enabled_ ? answer(leading) : answerWhileDisabled(leading);
    } else if (received_ > 0) {
        out = bytes_[static_cast<std::size_t>(received_ - 1)];
    }
    bytes_[static_cast<std::size_t>(received_++)] = mosi;
    if (received_ == length_) {
        received_ = 0;
        const std::span instruction(bytes_.data(), static_cast<std::size_t>(length_));
        if (isProgrammingEnable(instruction)) {
            enabled_ = true;
        } else if (enabled_) {
            execute(instruction);
        }
    }
    return out;
}

}  // namespace zavuv::sim

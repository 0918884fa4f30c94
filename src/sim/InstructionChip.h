#pragma once
// A microcontroller programmed by fixed-length serial instructions (AVR, AT89S).
// While its reset is held it takes the instruction bytes in frames; each byte
// shifted out echoes the one before, and the last one carries the chip's answer.
// Nothing but the programming-enable instruction works before that has come.

#include <array>
#include <cstdint>
#include <span>

#include "sim/TargetChip.h"

namespace zavuv::sim {

class InstructionChip : public TargetChip {
public:
    void setReset(bool held) override;
    void setSelected(bool) override {}
    std::uint8_t transfer(std::uint8_t mosi) override;

protected:
    explicit InstructionChip(int instructionLength) : length_(instructionLength) {}

    // Whether holding the reset pin resets the chip; one that runs on ignores
    // the programming pins. Asked when the reset is taken hold of, as the chip
    // latches its fuses then.
    virtual bool resetPinResets() const { return true; }
    // Whether this whole instruction is the chip's programming enable.
    virtual bool isProgrammingEnable(std::span<const std::uint8_t> instruction) const = 0;
    // The byte shifted out with the last instruction byte, from the bytes before it.
    virtual std::uint8_t answer(std::span<const std::uint8_t> leadingBytes) = 0;
    // The same before programming is enabled: an echo, like every other byte.
    virtual std::uint8_t answerWhileDisabled(std::span<const std::uint8_t> leadingBytes) {
        return leadingBytes.back();
    }
    // Carries out a complete instruction once programming is enabled.
    virtual void execute(std::span<const std::uint8_t> instruction) = 0;

    bool programmingEnabled() const { return enabled_; }

private:
    const int length_;
    bool resetHeld_ = false;
    bool enabled_ = false;
    int received_ = 0;
    std::array<std::uint8_t, 4> bytes_{};
};

}  // namespace zavuv::sim

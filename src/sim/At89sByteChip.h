#pragma once
// The AT89S chips with 4-byte instructions that read and write single bytes:
// programming enable (answered 0x69), chip erase, Flash bytes (0x20 read, 0x40
// write) and data EEPROM bytes where the chip has one (0xA0, 0xC0). Lock bits,
// signature and fuses differ between the AT89S51 and the AT89S8253 sets.

#include "sim/ChipImage.h"
#include "sim/InstructionChip.h"

namespace zavuv::sim {

class At89sByteChip : public InstructionChip {
protected:
    explicit At89sByteChip(ChipImage& image) : InstructionChip(4), image_(image) {}

    bool isProgrammingEnable(std::span<const std::uint8_t> instruction) const override;
    std::uint8_t answerWhileDisabled(std::span<const std::uint8_t> leading) override;
    std::uint8_t answer(std::span<const std::uint8_t> leading) override;
    void execute(std::span<const std::uint8_t> instruction) override;

    // The set's own instructions; answerOther gives 0xFF for one it does not know.
    virtual std::uint8_t answerOther(std::span<const std::uint8_t> leading) = 0;
    virtual void executeOther(std::span<const std::uint8_t> instruction) = 0;

    ChipImage& image_;
};

// AT89S51, AT89S52, AT89S2051, AT89S4051.
class At89s51Chip : public At89sByteChip {
public:
    explicit At89s51Chip(ChipImage& image) : At89sByteChip(image) {}

protected:
    std::uint8_t answerOther(std::span<const std::uint8_t> leading) override;
    void executeOther(std::span<const std::uint8_t> instruction) override;
};

class At89s8253Chip : public At89sByteChip {
public:
    explicit At89s8253Chip(ChipImage& image) : At89sByteChip(image) {}

protected:
    std::uint8_t answerOther(std::span<const std::uint8_t> leading) override;
    void executeOther(std::span<const std::uint8_t> instruction) override;
};

}  // namespace zavuv::sim

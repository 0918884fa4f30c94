#pragma once
// An AVR microcontroller in serial programming mode (also the AT86RF401): Flash
// written by pages through the page buffer or, without pages, word by word;
// EEPROM byte by byte; signature, calibration, lock and fuse bytes.

#include <vector>

#include "sim/ChipImage.h"
#include "sim/InstructionChip.h"

namespace zavuv::sim {

class AvrChip : public InstructionChip {
public:
    explicit AvrChip(ChipImage& image);

protected:
    bool resetPinResets() const override;
    bool isProgrammingEnable(std::span<const std::uint8_t> instruction) const override;
    std::uint8_t answer(std::span<const std::uint8_t> leadingBytes) override;
    void execute(std::span<const std::uint8_t> instruction) override;

private:
    std::size_t flashByteAddress(std::uint8_t opcode, std::uint8_t high, std::uint8_t low) const;
    void executeSpecial(std::span<const std::uint8_t> instruction);
    void writeFuseByte(devices::FuseByte which, std::uint8_t value);
    void chipErase();

    ChipImage& image_;
    const std::size_t pageWords_;  // 0: Flash without pages
    std::vector<std::uint8_t> pageBuffer_;
    std::uint8_t extendedAddress_ = 0;
};

}  // namespace zavuv::sim

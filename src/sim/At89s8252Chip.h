#pragma once
// The AT89S8252 and AT89S53 with their 3-byte instructions: the low bits of the
// first byte say what to do and its high bits carry the high address bits.
// Neither reads out a signature or its lock bits.

#include "sim/ChipImage.h"
#include "sim/InstructionChip.h"

namespace zavuv::sim {

// The first instruction byte of a memory access (the address's low byte follows).
struct At89s8252Encoding {
    // AT89S8252: A12..A8 in bits 7..3; 001 read, 010 write Flash; data memory
    // A10..A8 in bits 5..3 with 101 read, 110 write.
    static std::uint8_t flash8252(std::size_t address, bool write);
    static std::uint8_t data8252(std::size_t address, bool write);
    // AT89S53: A12..A8 in bits 7..3, A13 in bit 2; 01 read, 10 write Flash.
    static std::uint8_t flash53(std::size_t address, bool write);
};

class At89s8252Chip : public InstructionChip {
public:
    At89s8252Chip(ChipImage& image, bool isAt89S53)
        : InstructionChip(3), image_(image), isAt89S53_(isAt89S53) {}

protected:
    bool isProgrammingEnable(std::span<const std::uint8_t> instruction) const override;
    std::uint8_t answer(std::span<const std::uint8_t> leading) override;
    void execute(std::span<const std::uint8_t> instruction) override;

private:
    enum class Access { None, ReadFlash, WriteFlash, ReadData, WriteData };
    struct Decoded {
        Access access = Access::None;
        std::size_t address = 0;
    };
    Decoded decode(std::uint8_t first, std::uint8_t low) const;
    void executeSpecial(std::uint8_t kind);

    ChipImage& image_;
    const bool isAt89S53_;
};

}  // namespace zavuv::sim

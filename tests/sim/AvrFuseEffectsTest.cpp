// The fuses that change how an AVR chip takes serial programming: EESAVE,
// SPIEN, RSTDISBL and DWEN, found by name wherever the chip keeps them.

#include <gtest/gtest.h>

#include "ChipDriver.h"
#include "sim/AvrChip.h"
#include "sim/ChipImage.h"
#include "sim/ChipNames.h"

namespace zavuv::sim {
namespace {

using testing::enterProgramming;
using testing::instruction;
using testing::shift;

constexpr std::uint8_t kWriteLow = 0xA0;
constexpr std::uint8_t kWriteHigh = 0xA8;

struct Target {
    explicit Target(const char* name)
        : image(ChipImage::fresh(findChip(name)->deviceIndex)), chip(image) {
        enterProgramming(chip);
    }

    void writeFuse(std::uint8_t kind, std::uint8_t value) {
        instruction(chip, {0xAC, kind, 0xFF, value});
    }
    std::uint8_t lowFuse() { return instruction(chip, {0x50, 0x00, 0x00, 0x00}); }
    std::uint8_t highFuse() { return instruction(chip, {0x58, 0x08, 0x00, 0x00}); }
    void writeEeprom(std::uint8_t value) { instruction(chip, {0xC0, 0x00, 0x10, value}); }
    std::uint8_t readEeprom() { return instruction(chip, {0xA0, 0x00, 0x10, 0x00}); }
    void chipErase() { instruction(chip, {0xAC, 0x80, 0x00, 0x00}); }
    // A new session: the reset pulse, then programming enable; whether the chip echoed 0x53.
    bool answersProgrammingEnable() {
        chip.setReset(false);
        chip.setReset(true);
        return shift(chip, {0xAC, 0x53, 0x00, 0x00})[2] == 0x53;
    }

    ChipImage image;
    AvrChip chip;
};

TEST(AvrFuseEffects, ChipEraseKeepsTheEepromWhileEesaveIsProgrammed) {
    Target mega8("ATmega8");  // EESAVE: high fuse bit 3
    mega8.writeEeprom(0x42);
    mega8.writeFuse(kWriteHigh, 0xD1);
    mega8.chipErase();
    EXPECT_EQ(mega8.readEeprom(), 0x42);
    EXPECT_EQ(mega8.image.flash[0], 0xFF);
    mega8.writeFuse(kWriteHigh, 0xD9);
    mega8.chipErase();
    EXPECT_EQ(mega8.readEeprom(), 0xFF);

    Target tiny13("ATtiny13");  // EESAVE: low fuse bit 6
    tiny13.writeEeprom(0x24);
    tiny13.writeFuse(kWriteLow, 0x2A);
    tiny13.chipErase();
    EXPECT_EQ(tiny13.readEeprom(), 0x24);
    tiny13.writeFuse(kWriteLow, 0x6A);
    tiny13.chipErase();
    EXPECT_EQ(tiny13.readEeprom(), 0xFF);
}

TEST(AvrFuseEffects, SerialProgrammingCannotChangeSpien) {
    Target mega8("ATmega8");  // SPIEN: high fuse bit 5, programmed at the factory
    mega8.writeFuse(kWriteHigh, 0xFF);
    EXPECT_EQ(mega8.highFuse(), 0xDF);  // every other bit taken

    Target tiny13("ATtiny13");  // SPIEN: low fuse bit 7
    tiny13.writeFuse(kWriteLow, 0xFF);
    EXPECT_EQ(tiny13.lowFuse(), 0x7F);

    // Nor program it where a parallel programmer left it unprogrammed.
    Target m328p("ATmega328P");
    m328p.image.highFuse = 0xFF;
    m328p.writeFuse(kWriteHigh, 0xD9);
    EXPECT_EQ(m328p.highFuse(), 0xF9);
}

TEST(AvrFuseEffects, RstdisblEndsSerialProgrammingAtTheNextReset) {
    Target mega8("ATmega8");  // RSTDISBL: high fuse bit 7
    mega8.writeFuse(kWriteHigh, 0x59);
    // The fuses were latched when the session began: this one goes on.
    EXPECT_EQ(mega8.highFuse(), 0x59);
    EXPECT_FALSE(mega8.answersProgrammingEnable());
    EXPECT_EQ(instruction(mega8.chip, {0x30, 0x00, 0x00, 0x00}), 0xFF);  // the chip runs on
    mega8.chipErase();                                                   // ignored
    EXPECT_FALSE(mega8.answersProgrammingEnable());

    Target tiny85("ATtiny85");  // RSTDISBL: high fuse bit 7 too, beside DWEN
    tiny85.writeFuse(kWriteHigh, 0x5F);
    EXPECT_FALSE(tiny85.answersProgrammingEnable());
}

TEST(AvrFuseEffects, DwenEndsSerialProgrammingAtTheNextReset) {
    Target m328p("ATmega328P");  // DWEN: high fuse bit 6
    m328p.writeFuse(kWriteHigh, 0x99);
    EXPECT_FALSE(m328p.answersProgrammingEnable());

    Target tiny13("ATtiny13");  // DWEN: high fuse bit 3
    tiny13.writeFuse(kWriteHigh, 0xF7);
    EXPECT_FALSE(tiny13.answersProgrammingEnable());
    tiny13.image.highFuse = 0xFF;  // a high-voltage programmer cleared it
    EXPECT_TRUE(tiny13.answersProgrammingEnable());
}

TEST(AvrFuseEffects, ChipsWithoutThoseFusesKeepAnswering) {
    // The ATmega128's high byte holds OCDEN and JTAGEN where others keep RSTDISBL and DWEN.
    Target mega128("ATmega128");
    mega128.writeFuse(kWriteHigh, 0x00);
    EXPECT_EQ(mega128.highFuse(), 0x00);
    EXPECT_TRUE(mega128.answersProgrammingEnable());
}

TEST(AvrFuseEffects, FactoryFusesOfTheChip) {
    Target mega640("ATmega640");
    EXPECT_EQ(mega640.lowFuse(), 0x62);
    EXPECT_EQ(mega640.highFuse(), 0x99);
    EXPECT_EQ(instruction(mega640.chip, {0x50, 0x08, 0x00, 0x00}), 0xFF);
    Target usb1286("AT90USB1286");
    EXPECT_EQ(usb1286.lowFuse(), 0x5E);
    EXPECT_EQ(instruction(usb1286.chip, {0x50, 0x08, 0x00, 0x00}), 0xF3);
}

}  // namespace
}  // namespace zavuv::sim

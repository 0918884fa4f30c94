#include <gtest/gtest.h>

#include <numeric>

#include "ChipDriver.h"
#include "sim/At25Chip.h"
#include "sim/At45Chip.h"
#include "sim/ChipImage.h"
#include "sim/ChipNames.h"

namespace zavuv::sim {
namespace {

using testing::shift;

// One chip-select frame.
std::vector<std::uint8_t> framed(TargetChip& chip, std::initializer_list<std::uint8_t> bytes) {
    chip.setSelected(true);
    auto out = shift(chip, bytes);
    chip.setSelected(false);
    return out;
}

class At25ChipTest : public ::testing::Test {
protected:
    At25ChipTest() : image(ChipImage::fresh(findChip("AT25256")->deviceIndex)), chip(image) {}

    std::uint8_t status() { return framed(chip, {0x05, 0x00})[1]; }

    ChipImage image;
    At25Chip chip;  // 64-byte pages
};

TEST_F(At25ChipTest, WriteNeedsWriteEnableAndClearsIt) {
    framed(chip, {0x02, 0x00, 0x10, 0xAA});
    EXPECT_EQ(image.eeprom[0x10], 0xFF);
    framed(chip, {0x06});
    EXPECT_EQ(status() & 0x02, 0x02);
    framed(chip, {0x02, 0x00, 0x10, 0xAA, 0x55});
    EXPECT_EQ(image.eeprom[0x10], 0xAA);
    EXPECT_EQ(image.eeprom[0x11], 0x55);
    EXPECT_EQ(status() & 0x02, 0x00);
    framed(chip, {0x06});
    framed(chip, {0x04});  // write disable
    framed(chip, {0x02, 0x00, 0x10, 0x00});
    EXPECT_EQ(image.eeprom[0x10], 0xAA);
}

TEST_F(At25ChipTest, BytesTakeTheNewValueWhole) {
    framed(chip, {0x06});
    framed(chip, {0x02, 0x00, 0x00, 0x0F});
    framed(chip, {0x06});
    framed(chip, {0x02, 0x00, 0x00, 0xF0});
    EXPECT_EQ(image.eeprom[0], 0xF0);
}

TEST_F(At25ChipTest, PageWriteWrapsInsideItsPage) {
    framed(chip, {0x06});
    framed(chip, {0x02, 0x00, 0x7E, 0x01, 0x02, 0x03, 0x04});  // page 0x40..0x7F
    EXPECT_EQ(image.eeprom[0x7E], 0x01);
    EXPECT_EQ(image.eeprom[0x7F], 0x02);
    EXPECT_EQ(image.eeprom[0x40], 0x03);
    EXPECT_EQ(image.eeprom[0x41], 0x04);
    EXPECT_EQ(image.eeprom[0x80], 0xFF);
}

TEST_F(At25ChipTest, ReadRunsOnAcrossPagesAndWrapsAtTheEnd) {
    std::iota(image.eeprom.begin(), image.eeprom.end(), 0);
    const auto out = framed(chip, {0x03, 0x7F, 0xFF, 0x00, 0x00, 0x00});
    EXPECT_EQ(out[3], 0xFF);  // the last byte of the 32 KB
    EXPECT_EQ(out[4], 0x00);
    EXPECT_EQ(out[5], 0x01);
}

TEST_F(At25ChipTest, BlockProtectBitsGuardTheUpperQuarter) {
    framed(chip, {0x06});
    framed(chip, {0x01, 0x04});  // BP0
    EXPECT_EQ(status() & 0x0C, 0x04);
    framed(chip, {0x06});
    framed(chip, {0x02, 0x60, 0x00, 0x11});  // in the upper quarter
    framed(chip, {0x06});
    framed(chip, {0x02, 0x5F, 0xFF, 0x22});  // just below it
    EXPECT_EQ(image.eeprom[0x6000], 0xFF);
    EXPECT_EQ(image.eeprom[0x5FFF], 0x22);
}

TEST_F(At25ChipTest, DeselectedChipIgnoresTheBus) {
    EXPECT_EQ(shift(chip, {0x06, 0x02, 0x00, 0x00, 0x00}), std::vector<std::uint8_t>(5, 0xFF));
    EXPECT_EQ(image.eeprom[0], 0xFF);
}

class At45ChipTest : public ::testing::Test {
protected:
    At45ChipTest() : image(ChipImage::fresh(findChip("AT45DB161B")->deviceIndex)), chip(image) {}

    // Buffer 1 write from offset 0 with `count` bytes counting up from `first`.
    void fillBuffer(std::uint8_t first, std::size_t count) {
        chip.setSelected(true);
        shift(chip, {0x84, 0x00, 0x00, 0x00});
        for (std::size_t i = 0; i < count; ++i) {
            chip.transfer(static_cast<std::uint8_t>(first + i));
        }
        chip.setSelected(false);
    }
    // Page p's address bytes: p shifted left by 2 (528-byte pages).
    static std::uint8_t high(int page) { return static_cast<std::uint8_t>((page << 2) >> 8); }
    static std::uint8_t low(int page) { return static_cast<std::uint8_t>(page << 2); }

    ChipImage image;
    At45Chip chip;  // 4096 pages of 528 bytes
};

TEST_F(At45ChipTest, StatusRegisterTellsTheDensity) {
    const auto out = framed(chip, {0xD7, 0x00, 0x00});
    EXPECT_EQ(out[1], 0xAC);  // ready, density bits 1011
    EXPECT_EQ(out[2], 0xAC);
}

TEST_F(At45ChipTest, BufferToPageProgramWithBuiltInErase) {
    image.flash[5 * 528 + 527] = 0x00;
    fillBuffer(0x10, 528);
    framed(chip, {0x83, high(5), low(5), 0x00});
    EXPECT_EQ(image.flash[5 * 528], 0x10);
    EXPECT_EQ(image.flash[5 * 528 + 527], static_cast<std::uint8_t>(0x10 + 527));
    EXPECT_EQ(image.flash[4 * 528 + 527], 0xFF);
    EXPECT_EQ(image.flash[6 * 528], 0xFF);
}

TEST_F(At45ChipTest, ProgramWithoutEraseOnlyClearsBits) {
    fillBuffer(0xF0, 1);
    framed(chip, {0x83, high(0), low(0), 0x00});
    chip.setSelected(true);
    shift(chip, {0x84, 0x00, 0x00, 0x00, 0x0F});
    chip.setSelected(false);
    framed(chip, {0x88, high(0), low(0), 0x00});
    EXPECT_EQ(image.flash[0], 0x00);
}

TEST_F(At45ChipTest, BlockEraseClearsEightPages) {
    std::fill(image.flash.begin(), image.flash.end(), 0x00);
    framed(chip, {0x50, high(4088), low(4088), 0x00});
    EXPECT_EQ(image.flash[4087 * 528 + 527], 0x00);
    EXPECT_EQ(image.flash[4088 * 528], 0xFF);
    EXPECT_EQ(image.flash.back(), 0xFF);
}

TEST_F(At45ChipTest, ContinuousArrayReadCrossesPagesAfterFourDontCareBytes) {
    image.flash[527] = 0x11;
    image.flash[528] = 0x22;
    const auto out = framed(chip, {0xE8, 0x00, 0x02, 0x0F, 0xAA, 0xAA, 0xAA, 0xAA, 0x00, 0x00});
    // Page 0, byte 0x20F = 527.
    EXPECT_EQ(out[8], 0x11);
    EXPECT_EQ(out[9], 0x22);
}

TEST_F(At45ChipTest, PageReadWrapsInsideThePageAndBufferReadsBack) {
    image.flash[527] = 0x11;
    image.flash[0] = 0x33;
    const auto page = framed(chip, {0xD2, 0x00, 0x02, 0x0F, 0, 0, 0, 0, 0x00, 0x00});
    EXPECT_EQ(page[8], 0x11);
    EXPECT_EQ(page[9], 0x33);
    fillBuffer(0x40, 2);
    const auto buffer = framed(chip, {0xD4, 0x00, 0x00, 0x01, 0x00, 0x00});
    EXPECT_EQ(buffer[5], 0x41);
}

}  // namespace
}  // namespace zavuv::sim

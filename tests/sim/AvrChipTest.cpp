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

class AvrChipTest : public ::testing::Test {
protected:
    explicit AvrChipTest(const char* name = "ATmega8")
        : image(ChipImage::fresh(findChip(name)->deviceIndex)), chip(image) {
        enterProgramming(chip);
    }

    // Loads a whole page (bytes from `first`) and writes it at this byte offset.
    void writePage(std::size_t offset, std::uint8_t first) {
        const std::size_t words = static_cast<std::size_t>(image.device().pageSize);
        for (std::size_t word = 0; word < words; ++word) {
            const auto low = static_cast<std::uint8_t>(word);
            instruction(chip, {0x40, 0x00, low, static_cast<std::uint8_t>(first + 2 * word)});
            instruction(chip, {0x48, 0x00, low, static_cast<std::uint8_t>(first + 2 * word + 1)});
        }
        const std::size_t pageWord = offset / 2;
        instruction(chip, {0x4D, 0x00, static_cast<std::uint8_t>(offset >> 17), 0x00});
        instruction(chip, {0x4C, static_cast<std::uint8_t>(pageWord >> 8),
                           static_cast<std::uint8_t>(pageWord), 0x00});
    }

    std::uint8_t readFlash(std::size_t offset) {
        const std::size_t word = offset / 2;
        instruction(chip, {0x4D, 0x00, static_cast<std::uint8_t>(word >> 16), 0x00});
        return instruction(chip, {static_cast<std::uint8_t>(offset % 2 ? 0x28 : 0x20),
                                  static_cast<std::uint8_t>(word >> 8),
                                  static_cast<std::uint8_t>(word), 0x00});
    }

    ChipImage image;
    AvrChip chip;
};

TEST_F(AvrChipTest, ProgrammingEnableEchoes53OnTheThirdByte) {
    chip.setReset(true);
    EXPECT_EQ(shift(chip, {0xAC, 0x53, 0x00, 0x00})[2], 0x53);
}

TEST_F(AvrChipTest, NothingWorksBeforeProgrammingEnableOrOutsideReset) {
    chip.setReset(true);  // a new session: enable not yet sent
    image.flash[0] = 0x00;
    EXPECT_EQ(instruction(chip, {0x30, 0x00, 0x00, 0x00}), 0x00);  // an echo, not the signature
    instruction(chip, {0xAC, 0x80, 0x00, 0x00});
    EXPECT_EQ(image.flash[0], 0x00);  // the erase was ignored
    chip.setReset(false);
    EXPECT_EQ(chip.transfer(0x30), 0xFF);
}

TEST_F(AvrChipTest, PageLoadAndWriteThenReadBack) {
    writePage(0x40, 0x10);  // the second 64-byte page of an ATmega8
    EXPECT_EQ(readFlash(0x40), 0x10);
    EXPECT_EQ(readFlash(0x41), 0x11);
    EXPECT_EQ(readFlash(0x7F), 0x4F);
    EXPECT_EQ(readFlash(0x3F), 0xFF);
    EXPECT_EQ(readFlash(0x80), 0xFF);
}

TEST_F(AvrChipTest, FlashBitsAreOnlyClearedByProgrammingAndSetByChipErase) {
    writePage(0, 0xF0);
    writePage(0, 0x0F);  // the second write ANDs into the first
    EXPECT_EQ(readFlash(0), 0xF0 & 0x0F);
    EXPECT_EQ(readFlash(1), 0xF1 & 0x10);
    instruction(chip, {0xAC, 0x80, 0x00, 0x00});
    EXPECT_EQ(readFlash(0), 0xFF);
    EXPECT_EQ(readFlash(1), 0xFF);
}

TEST_F(AvrChipTest, PageBufferIsEmptiedByAPageWrite) {
    writePage(0, 0x00);
    instruction(chip, {0x4C, 0x00, 0x20, 0x00});  // the next page, nothing loaded
    EXPECT_EQ(readFlash(0x40), 0xFF);
}

TEST_F(AvrChipTest, EepromBytesTakeTheNewValueWhole) {
    instruction(chip, {0xC0, 0x01, 0x23, 0x0F});
    instruction(chip, {0xC0, 0x01, 0x23, 0xF0});
    EXPECT_EQ(instruction(chip, {0xA0, 0x01, 0x23, 0x00}), 0xF0);
    EXPECT_EQ(instruction(chip, {0xA0, 0x01, 0x24, 0x00}), 0xFF);
    instruction(chip, {0xAC, 0x80, 0x00, 0x00});
    EXPECT_EQ(instruction(chip, {0xA0, 0x01, 0x23, 0x00}), 0xFF);
}

TEST_F(AvrChipTest, SignatureCalibrationAndFactoryFuses) {
    EXPECT_EQ(instruction(chip, {0x30, 0x00, 0x00, 0x00}), 0x1E);
    EXPECT_EQ(instruction(chip, {0x30, 0x00, 0x01, 0x00}), 0x93);
    EXPECT_EQ(instruction(chip, {0x30, 0x00, 0x02, 0x00}), 0x07);
    EXPECT_EQ(instruction(chip, {0x38, 0x00, 0x03, 0x00}), image.calibration[3]);
    EXPECT_EQ(instruction(chip, {0x50, 0x00, 0x00, 0x00}), 0xE1);  // low fuse
    EXPECT_EQ(instruction(chip, {0x58, 0x08, 0x00, 0x00}), 0xD9);  // high fuse
    EXPECT_EQ(instruction(chip, {0x58, 0x00, 0x00, 0x00}), 0xFF);  // lock byte
}

TEST_F(AvrChipTest, FuseWritesTakeTheValueWholeAndSurviveChipErase) {
    instruction(chip, {0xAC, 0xA0, 0xFF, 0xE4});
    instruction(chip, {0xAC, 0xA8, 0xFF, 0xDF});
    instruction(chip, {0xAC, 0xA0, 0xFF, 0xEF});
    instruction(chip, {0xAC, 0x80, 0x04, 0x00});
    EXPECT_EQ(instruction(chip, {0x50, 0x00, 0x00, 0x00}), 0xEF);
    EXPECT_EQ(instruction(chip, {0x58, 0x08, 0x00, 0x00}), 0xDF);
}

TEST_F(AvrChipTest, LockBitsOnlyProgramUntilChipErase) {
    instruction(chip, {0xAC, 0xFF, 0xFF, 0xFE});  // LB1
    instruction(chip, {0xAC, 0xFF, 0xFF, 0xFF});  // cannot unprogram it
    EXPECT_EQ(instruction(chip, {0x58, 0x00, 0x00, 0x00}), 0xFE);
    instruction(chip, {0xAC, 0x80, 0x04, 0x00});
    EXPECT_EQ(instruction(chip, {0x58, 0x00, 0x00, 0x00}), 0xFF);
}

TEST_F(AvrChipTest, WriteProtectedChipKeepsItsMemories) {
    instruction(chip, {0xAC, 0xFF, 0xFF, 0xFE});  // LB1: no further programming
    writePage(0, 0x00);
    instruction(chip, {0xC0, 0x00, 0x00, 0x00});
    EXPECT_EQ(readFlash(0), 0xFF);
    EXPECT_EQ(instruction(chip, {0xA0, 0x00, 0x00, 0x00}), 0xFF);
}

TEST_F(AvrChipTest, LockedChipTellsItsSignatureButReadsItsMemoriesAsGarbage) {
    writePage(0, 0x55);
    instruction(chip, {0xAC, 0xFF, 0xFF, 0xFC});  // LB1 and LB2
    EXPECT_EQ(instruction(chip, {0x30, 0x00, 0x00, 0x00}), 0x1E);
    EXPECT_EQ(instruction(chip, {0x30, 0x00, 0x01, 0x00}), 0x93);
    EXPECT_EQ(instruction(chip, {0x30, 0x00, 0x02, 0x00}), 0x07);
    EXPECT_EQ(readFlash(0x10), 0x08);                              // the low byte of word address 8
    EXPECT_EQ(instruction(chip, {0x58, 0x00, 0x00, 0x00}), 0xFC);  // lock bits stay readable
    instruction(chip, {0xAC, 0x80, 0x04, 0x00});
    EXPECT_EQ(readFlash(0x10), 0xFF);
}

TEST_F(AvrChipTest, LockedFaultModelsTheOldChipsThatHideTheirSignature) {
    image.lockMemories();
    EXPECT_EQ(instruction(chip, {0x30, 0x00, 0x00, 0x00}), 0x00);
    EXPECT_EQ(instruction(chip, {0x30, 0x00, 0x01, 0x00}), 0x01);
    EXPECT_EQ(instruction(chip, {0x30, 0x00, 0x02, 0x00}), 0x02);
    instruction(chip, {0xAC, 0x80, 0x04, 0x00});
    EXPECT_EQ(instruction(chip, {0x30, 0x00, 0x01, 0x00}), 0x93);
}

class LargeAvrChipTest : public AvrChipTest {
protected:
    LargeAvrChipTest() : AvrChipTest("ATmega256x") {}
};

TEST_F(LargeAvrChipTest, ExtendedAddressReachesPast128K) {
    writePage(0x20000, 0xA0);
    EXPECT_EQ(readFlash(0x20000), 0xA0);
    EXPECT_EQ(readFlash(0x00000), 0xFF);
    EXPECT_EQ(image.flash[0x20001], 0xA1);
}

class UnpagedAvrChipTest : public AvrChipTest {
protected:
    UnpagedAvrChipTest() : AvrChipTest("AT86RF401") {}
};

TEST_F(UnpagedAvrChipTest, WritesFlashWordByWordWithoutPages) {
    instruction(chip, {0x40, 0x01, 0x02, 0x12});
    instruction(chip, {0x48, 0x01, 0x02, 0x34});
    EXPECT_EQ(image.flash[0x204], 0x12);
    EXPECT_EQ(image.flash[0x205], 0x34);
    instruction(chip, {0x40, 0x01, 0x02, 0xF0});
    EXPECT_EQ(image.flash[0x204], 0x10);
}

}  // namespace
}  // namespace zavuv::sim

#include <gtest/gtest.h>

#include "ChipDriver.h"
#include "sim/At89s8252Chip.h"
#include "sim/At89sByteChip.h"
#include "sim/ChipImage.h"
#include "sim/ChipNames.h"

namespace zavuv::sim {
namespace {

using testing::enterProgramming;
using testing::instruction;
using testing::shift;

ChipImage freshImage(const char* name) {
    return ChipImage::fresh(findChip(name)->deviceIndex);
}

TEST(At89s51ChipTest, ProgrammingEnableAnswers69) {
    ChipImage image = freshImage("AT89S52");
    At89s51Chip chip(image);
    chip.setReset(true);
    EXPECT_EQ(shift(chip, {0xAC, 0x53, 0x00, 0x00})[3], 0x69);
}

TEST(At89s51ChipTest, ByteWriteAndReadWithFlashAndSemantics) {
    ChipImage image = freshImage("AT89S52");
    At89s51Chip chip(image);
    enterProgramming(chip);
    instruction(chip, {0x40, 0x12, 0x34, 0x5A});
    EXPECT_EQ(instruction(chip, {0x20, 0x12, 0x34, 0x00}), 0x5A);
    instruction(chip, {0x40, 0x12, 0x34, 0xA5});
    EXPECT_EQ(instruction(chip, {0x20, 0x12, 0x34, 0x00}), 0x00);
    instruction(chip, {0xAC, 0x80, 0x04, 0x00});
    EXPECT_EQ(instruction(chip, {0x20, 0x12, 0x34, 0x00}), 0xFF);
}

TEST(At89s51ChipTest, SignatureAt000h100h200h) {
    ChipImage image = freshImage("AT89S51");
    At89s51Chip chip(image);
    enterProgramming(chip);
    EXPECT_EQ(instruction(chip, {0x28, 0x00, 0x00, 0x00}), 0x1E);
    EXPECT_EQ(instruction(chip, {0x28, 0x01, 0x00, 0x00}), 0x51);
    EXPECT_EQ(instruction(chip, {0x28, 0x02, 0x00, 0x00}), 0x06);
}

TEST(At89s51ChipTest, LockModeStepsProgramLb1ToLb3AndReadBackAsSetBits) {
    ChipImage image = freshImage("AT89S52");
    At89s51Chip chip(image);
    enterProgramming(chip);
    EXPECT_EQ(instruction(chip, {0x24, 0x00, 0x00, 0x00}), 0x00);
    instruction(chip, {0xAC, 0xE1, 0x00, 0xFF});
    EXPECT_EQ(instruction(chip, {0x24, 0x00, 0x00, 0x00}), 0x04);
    instruction(chip, {0xAC, 0xE2, 0x00, 0xFF});
    instruction(chip, {0xAC, 0xE3, 0x00, 0xFF});
    EXPECT_EQ(instruction(chip, {0x24, 0x00, 0x00, 0x00}), 0x1C);
    // Locked: writes are refused and reads give no data.
    instruction(chip, {0x40, 0x00, 0x10, 0x00});
    EXPECT_EQ(image.flash[0x10], 0xFF);
    EXPECT_EQ(instruction(chip, {0x20, 0x00, 0x10, 0x00}), 0x10);
    instruction(chip, {0xAC, 0x80, 0x04, 0x00});
    EXPECT_EQ(instruction(chip, {0x24, 0x00, 0x00, 0x00}), 0x00);
}

TEST(At89s8253ChipTest, SignatureAt30hTo32hAndEeprom) {
    ChipImage image = freshImage("AT89S8253");
    At89s8253Chip chip(image);
    enterProgramming(chip);
    EXPECT_EQ(instruction(chip, {0x28, 0x00, 0x30, 0x00}), 0x1E);
    EXPECT_EQ(instruction(chip, {0x28, 0x00, 0x31, 0x00}), 0x73);
    EXPECT_EQ(instruction(chip, {0x28, 0x00, 0x32, 0x00}), 0xFF);
    instruction(chip, {0xC0, 0x07, 0xFF, 0x0F});
    instruction(chip, {0xC0, 0x07, 0xFF, 0xF0});
    EXPECT_EQ(instruction(chip, {0xA0, 0x07, 0xFF, 0x00}), 0xF0);
    instruction(chip, {0x40, 0x2F, 0xFF, 0x3C});
    EXPECT_EQ(image.flash[0x2FFF], 0x3C);
}

TEST(At89s8253ChipTest, LockBitsReadAsClearedBitsAndFusesTakeTheirValue) {
    ChipImage image = freshImage("AT89S8253");
    At89s8253Chip chip(image);
    enterProgramming(chip);
    EXPECT_EQ(instruction(chip, {0x24, 0xFF, 0xFF, 0x00}) & 0x07, 0x07);
    instruction(chip, {0xAC, 0xE6, 0xFF, 0xFF});  // lock mode 1
    EXPECT_EQ(instruction(chip, {0x24, 0xFF, 0xFF, 0x00}) & 0x07, 0x06);
    instruction(chip, {0xAC, 0xE7, 0xFF, 0xFF});  // cannot unprogram
    EXPECT_EQ(instruction(chip, {0x24, 0xFF, 0xFF, 0x00}) & 0x07, 0x06);
    EXPECT_EQ(instruction(chip, {0x21, 0xFF, 0xFF, 0x00}) & 0x0F, 0x0A);
    instruction(chip, {0xAC, 0x17, 0xFF, 0xFF});
    EXPECT_EQ(instruction(chip, {0x21, 0xFF, 0xFF, 0x00}) & 0x0F, 0x07);
}

TEST(At89s8252ChipTest, ThreeByteFlashAndDataMemoryAccess) {
    ChipImage image = freshImage("AT89S8252");
    At89s8252Chip chip(image, false);
    enterProgramming(chip, true);
    // Flash 0x1ABC: A12..A8 = 0x1A in bits 7..3, then 010 to write, 001 to read.
    instruction(chip, {0xD2, 0xBC, 0x77});
    EXPECT_EQ(image.flash[0x1ABC], 0x77);
    EXPECT_EQ(instruction(chip, {0xD1, 0xBC, 0x00}), 0x77);
    // Data memory 0x5FE: A10..A8 = 5 in bits 5..3, then 110 to write, 101 to read.
    instruction(chip, {0x2E, 0xFE, 0x42});
    EXPECT_EQ(image.eeprom[0x5FE], 0x42);
    EXPECT_EQ(instruction(chip, {0x2D, 0xFE, 0x00}), 0x42);
    instruction(chip, {0xAC, 0x04, 0x00});  // chip erase
    EXPECT_EQ(image.flash[0x1ABC], 0xFF);
    EXPECT_EQ(image.eeprom[0x5FE], 0xFF);
}

TEST(At89s8252ChipTest, LockInstructionProgramsTheClearedBits) {
    ChipImage image = freshImage("AT89S8252");
    At89s8252Chip chip(image, false);
    enterProgramming(chip, true);
    instruction(chip, {0xAC, 0x3F, 0xFF});  // LB1 (bit 7) and LB2 (bit 6) cleared
    EXPECT_TRUE(image.writeProtected());
    EXPECT_TRUE(image.readProtected());
    instruction(chip, {0xD2, 0xBC, 0x00});
    EXPECT_EQ(image.flash[0x1ABC], 0xFF);
}

TEST(At89s53ChipTest, AddressBit13SitsInBit2) {
    ChipImage image = freshImage("AT89S53");
    At89s8252Chip chip(image, true);
    enterProgramming(chip, true);
    instruction(chip, {0x06, 0x01, 0x99});  // 0x2001: A12..A8 = 0, A13 = 1, write
    EXPECT_EQ(image.flash[0x2001], 0x99);
    EXPECT_EQ(instruction(chip, {0x05, 0x01, 0x00}), 0x99);
    EXPECT_EQ(image.flash[0x0001], 0xFF);
    EXPECT_EQ(At89s8252Encoding::flash53(0x2001, true), 0x06);
    EXPECT_EQ(At89s8252Encoding::flash8252(0x1ABC, false), 0xD1);
    EXPECT_EQ(At89s8252Encoding::data8252(0x5FE, true), 0x2E);
}

}  // namespace
}  // namespace zavuv::sim

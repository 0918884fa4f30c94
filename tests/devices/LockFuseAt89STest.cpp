#include <gtest/gtest.h>

#include "LockFuseTestSupport.h"
#include "devices/At89SLockCoding.h"
#include "devices/FuseCoding.h"

using namespace zavuv::devices;
using namespace zavuv::devices::testing;

namespace {

LockFuseState inMode(std::int32_t mode) {
    LockFuseState state;
    state.lockMode = mode;
    return state;
}

}  // namespace

TEST(At89SLockSteps, OneInstructionPerLevel) {
    const LockFuseLayout& layout = layoutOfDevice("AT89S52");
    EXPECT_TRUE(encodeAt89SLockSteps(layout, inMode(0)).empty());
    EXPECT_EQ(encodeAt89SLockSteps(layout, inMode(3)),
              (std::vector<Instruction>{
                  {0xAC, 0xE1, 0x00, 0xFF}, {0xAC, 0xE2, 0x00, 0xFF}, {0xAC, 0xE3, 0x00, 0xFF}}));
    // A mode out of range from a damaged project never sends a fourth step.
    EXPECT_EQ(encodeAt89SLockSteps(layout, inMode(9)).size(), 3u);
    EXPECT_TRUE(encodeAt89SLockSteps(layout, inMode(-1)).empty());
}

TEST(At89SLockLevel, At89S8253ClearsOneMoreBitPerMode) {
    const LockFuseLayout& layout = layoutOfDevice("AT89S8253");
    EXPECT_EQ(encodeAt89SLockLevel(layout, inMode(0)), (Instruction{0xAC, 0xE7, 0xFF, 0xFF}));
    EXPECT_EQ(encodeAt89SLockLevel(layout, inMode(1)), (Instruction{0xAC, 0xE6, 0xFF, 0xFF}));
    EXPECT_EQ(encodeAt89SLockLevel(layout, inMode(2)), (Instruction{0xAC, 0xE4, 0xFF, 0xFF}));
    EXPECT_EQ(encodeAt89SLockLevel(layout, inMode(3)), (Instruction{0xAC, 0xE0, 0xFF, 0xFF}));
}

TEST(At89SLockLevel, At89S8252AndAt89S53) {
    for (const char* device : {"AT89S8252", "AT89S53"}) {
        SCOPED_TRACE(device);
        const LockFuseLayout& layout = layoutOfDevice(device);
        EXPECT_EQ(encodeAt89SLockLevel(layout, inMode(0)), (Instruction{0xAC, 0xFF, 0xFF, 0x00}));
        EXPECT_EQ(encodeAt89SLockLevel(layout, inMode(1)), (Instruction{0xAC, 0x7F, 0xFF, 0x00}));
        EXPECT_EQ(encodeAt89SLockLevel(layout, inMode(2)), (Instruction{0xAC, 0x3F, 0xFF, 0x00}));
        EXPECT_EQ(encodeAt89SLockLevel(layout, inMode(3)), (Instruction{0xAC, 0x1F, 0xFF, 0x00}));
    }
}

TEST(At89SLockAnswer, At89S8253) {
    const LockFuseLayout& layout = layoutOfDevice("AT89S8253");
    EXPECT_EQ(decodeAt89S8253LockAnswer(layout, 0x07), 0);
    EXPECT_EQ(decodeAt89S8253LockAnswer(layout, 0x06), 1);
    EXPECT_EQ(decodeAt89S8253LockAnswer(layout, 0x04), 2);
    EXPECT_EQ(decodeAt89S8253LockAnswer(layout, 0x00), 3);
    EXPECT_EQ(decodeAt89S8253LockAnswer(layout, 0x05), 0);  // not a sequence the chip allows
    EXPECT_EQ(decodeAt89S8253LockAnswer(layout, 0xFE), 1);  // only bits 0..2 count
    // What the level instruction writes reads back as the same mode.
    for (std::int32_t mode = 0; mode <= 3; ++mode)
        EXPECT_EQ(decodeAt89S8253LockAnswer(layout, encodeAt89SLockLevel(layout, inMode(mode))[1]),
                  mode);
}

TEST(At89SLockAnswer, At89S51ReadsTheHighestProgrammedBit) {
    const LockFuseLayout& layout = layoutOfDevice("AT89S51");
    EXPECT_EQ(decodeAt89S51LockAnswer(layout, 0x00), 0);
    EXPECT_EQ(decodeAt89S51LockAnswer(layout, 0x04), 1);
    EXPECT_EQ(decodeAt89S51LockAnswer(layout, 0x0C), 2);
    EXPECT_EQ(decodeAt89S51LockAnswer(layout, 0x1C), 3);
    EXPECT_EQ(decodeAt89S51LockAnswer(layout, 0xE3), 0);  // bits outside 2..4 do not count
}

TEST(At89SLockAnswer, At89S51StepsReadBackAsTheirMode) {
    // The chip programs LB1, LB2, LB3 for steps 1, 2, 3 and reads a programmed
    // lock bit as 1 at bits 2, 3, 4.
    const LockFuseLayout& layout = layoutOfDevice("AT89S52");
    for (std::int32_t mode = 0; mode <= 3; ++mode) {
        std::uint8_t answer = 0;
        for (const Instruction& step : encodeAt89SLockSteps(layout, inMode(mode)))
            answer |= static_cast<std::uint8_t>(1u << (1 + (step[1] & 0x03)));
        EXPECT_EQ(decodeAt89S51LockAnswer(layout, answer), mode);
    }
}

TEST(At89S8253Fuses, EveryFuseSettingReadsBack) {
    const LockFuseLayout& layout = layoutOfDevice("AT89S8253");
    for (int bits = 0; bits < 16; ++bits) {
        LockFuseState written;
        for (int i = 0; i < 4; ++i)
            written.fuse[i] = (bits >> i) & 1;
        const std::vector<Instruction> instructions = encodeFuseInstructions(layout, written);
        ASSERT_EQ(instructions.size(), 1u);
        LockFuseState read;
        const std::uint8_t answers[] = {instructions[0][1]};
        decodeFuseBytes(layout, 0x00, answers, read);
        EXPECT_EQ(read.fuse, written.fuse) << bits;
    }
}

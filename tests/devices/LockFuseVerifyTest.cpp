#include <gtest/gtest.h>

#include "LockFuseTestSupport.h"
#include "devices/LockFuseVerify.h"

using namespace zavuv::devices;
using namespace zavuv::devices::testing;

TEST(LockFuseVerify, EqualStatesReportOk) {
    const LockFuseLayout& layout = layoutOfDevice("ATmega8");
    LockFuseState expected = withFuses(layout, {"SPIEN"});
    LockFuseState chip = expected;
    chip.readable = true;  // the dialog's own state does not carry it
    const VerifyReport report = verifyReport(LockModeTexts::Avr, layout, expected, chip);
    EXPECT_TRUE(report.ok);
    EXPECT_EQ(report.text, "Lock&Fuse bits verify: OK");
}

TEST(LockFuseVerify, OnlyBootLockDiffers) {
    const LockFuseLayout& layout = layoutOfDevice("ATmega8");
    LockFuseState chip;
    chip.bootLock[1] = true;  // BLB02 programmed on the chip
    const VerifyReport report = verifyReport(LockModeTexts::Avr, layout, LockFuseState{}, chip);
    EXPECT_FALSE(report.ok);
    EXPECT_EQ(report.text, "Lock&Fuse bits verify: Failed\n"
                           " - BLB02 should be unprogrammed, is programmed\n");
}

TEST(LockFuseVerify, ListsLockModeThenFusesThenBootLocks) {
    const LockFuseLayout& layout = layoutOfDevice("ATmega16");
    LockFuseState expected = withFuses(layout, {"SPIEN", "CKSEL0"});
    expected.lockMode = 1;
    expected.bootLock[3] = true;
    LockFuseState chip = withFuses(layout, {"SPIEN", "OCDEN"});

    const LockFuseComparison comparison = compareLockFuse(layout, expected, chip);
    ASSERT_TRUE(comparison.lockMode);
    EXPECT_EQ(comparison.lockMode->expected, 1);
    EXPECT_EQ(comparison.lockMode->actual, 0);
    ASSERT_EQ(comparison.bits.size(), 3u);

    EXPECT_EQ(verifyReport(LockModeTexts::Avr, layout, expected, chip).text,
              "Lock&Fuse bits verify: Failed\n"
              " - lock mode should be 'LB1: Write protect', is 'No'\n"
              " - CKSEL0 should be programmed, is unprogrammed\n"
              " - OCDEN should be unprogrammed, is programmed\n"
              " - BLB12 should be programmed, is unprogrammed\n");
}

TEST(LockFuseVerify, At89SNamesTheModesItsOwnWay) {
    const LockFuseLayout& layout = layoutOfDevice("AT89S52");
    LockFuseState expected;
    expected.lockMode = 3;
    LockFuseState chip;
    chip.lockMode = 2;
    EXPECT_EQ(verifyReport(LockModeTexts::At89S, layout, expected, chip).text,
              "Lock&Fuse bits verify: Failed\n"
              " - lock mode should be 'LB1+LB2+LB3', is 'LB1+LB2'\n");
}

TEST(LockFuseVerify, EntriesBeyondTheLayoutNameNoBitAndAreIgnored) {
    const LockFuseLayout& layout = layoutOfDevice("ATtiny13");
    LockFuseState expected;
    expected.fuse[20] = true;
    expected.bootLock[0] = true;
    EXPECT_TRUE(compareLockFuse(layout, expected, LockFuseState{}).equal());
}

TEST(LockFuseVerify, PowerStageFusesDifferUnlessTheyMatchFuseZero) {
    const LockFuseLayout& layout = layoutOfDevice("AT90PWM2/3");
    LockFuseState expected;
    expected.fuse[19] = true;  // PSCRV, never written; the chip reads it as fuse 0
    EXPECT_EQ(verifyReport(LockModeTexts::Avr, layout, expected, LockFuseState{}).text,
              "Lock&Fuse bits verify: Failed\n"
              " - PSCRV should be programmed, is unprogrammed\n");
}

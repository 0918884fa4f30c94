#include <gtest/gtest.h>

#include <string>

#include "LockFuseTestSupport.h"
#include "devices/FuseBitCarryOver.h"
#include "devices/FuseCoding.h"
#include "devices/LockByteCoding.h"

namespace zavuv::devices {
namespace {

using testing::deviceNamed;
using testing::layoutOfDevice;
using testing::withFuses;

constexpr int kNotStored = -1;

const LockFuseLayout& layoutBefore(int device) {
    const int index = layoutOfUnmarkedProjects(device);
    const LockFuseLayout* layout = lockFuseLayout(index);
    return layout ? *layout : *retiredLockFuseLayout(index);
}

// Every fuse the old layout of a corrected chip wrote still reaches the same
// chip bit; one it only named keeps its name.
TEST(FuseBitCarryOver, EachStoredBitKeepsItsChipBit) {
    int corrected = 0;
    for (int d = 0; d < DeviceTable::count(); ++d) {
        if (layoutOfUnmarkedProjects(d) == DeviceTable::at(d).lockFuseLayout)
            continue;
        ++corrected;
        const LockFuseLayout& before = layoutBefore(d);
        const LockFuseLayout& now = *layoutOf(d);
        SCOPED_TRACE(DeviceTable::at(d).name);
        for (int i = 0; i < before.fuseCount; ++i) {
            SCOPED_TRACE(before.fuseName[i]);
            LockFuseState stored;
            stored.fuse[i] = true;
            const CarriedFuseBits carried = carryFuseBitsOver(stored, kNotStored, d);
            EXPECT_TRUE(carried.layoutChanged);
            bool written = false;
            for (FuseByte which : {FuseByte::Low, FuseByte::High, FuseByte::Extended}) {
                const auto old = encodeFuseInstruction(before, which, stored);
                if (!old)
                    continue;
                EXPECT_EQ(encodeFuseInstruction(now, which, carried.state), old);
                written = written || *old != before.fuseByte(which).writeTemplate;
            }
            if (!written) {
                // Named only: the fuse of that name, or none (AT90PWM1 has no PSC1RB).
                LockFuseState expected;
                for (int j = 0; j < now.fuseCount; ++j)
                    expected.fuse[j] = std::string(now.fuseName[j]) == before.fuseName[i];
                EXPECT_EQ(carried.state, expected);
            }
        }
    }
    EXPECT_EQ(corrected, 15);
}

TEST(FuseBitCarryOver, Atmega640BitsTakeTheirTrueNames) {
    const int mega640 = deviceNamed("ATmega640");
    const LockFuseLayout& before = layoutBefore(mega640);
    const LockFuseLayout& now = *layoutOf(mega640);
    LockFuseState stored = withFuses(before, {"CKOPT", "SPIEN", "M103C", "BODEN"});
    stored.lockMode = 2;
    stored.bootLock[1] = true;
    const CarriedFuseBits carried = carryFuseBitsOver(stored, kNotStored, mega640);
    LockFuseState expected = withFuses(now, {"WDTON", "SPIEN", "BODLEVEL1", "CKOUT"});
    expected.lockMode = 2;
    expected.bootLock[1] = true;
    EXPECT_EQ(carried.state, expected);
    EXPECT_TRUE(carried.layoutChanged);
}

TEST(FuseBitCarryOver, BootLocksAChipDoesNotHaveAreDropped) {
    const int tiny85 = deviceNamed("ATtiny85");
    LockFuseState stored = withFuses(layoutBefore(tiny85), {"SPIEN", "CKDIV8"});
    stored.lockMode = 1;
    stored.bootLock = {true, true, true, true};
    const CarriedFuseBits carried = carryFuseBitsOver(stored, kNotStored, tiny85);
    LockFuseState expected = withFuses(layoutOfDevice("ATtiny85"), {"SPIEN", "CKDIV8"});
    expected.lockMode = 1;
    EXPECT_EQ(carried.state, expected);
    EXPECT_EQ(encodeLockInstruction(*layoutOf(tiny85), carried.state),
              (Instruction{0xAC, 0xFF, 0xFF, 0xFE}));
}

TEST(FuseBitCarryOver, BitsStoredByTheDevicesLayoutStayAsTheyAre) {
    const int mega640 = deviceNamed("ATmega640");
    const LockFuseState stored = withFuses(*layoutOf(mega640), {"WDTON", "SPIEN"});
    const CarriedFuseBits marked =
        carryFuseBitsOver(stored, DeviceTable::at(mega640).lockFuseLayout, mega640);
    EXPECT_EQ(marked.state, stored);
    EXPECT_FALSE(marked.layoutChanged);

    // A chip whose map did not change: old files need nothing either.
    const int mega8 = deviceNamed("ATmega8");
    const CarriedFuseBits unmarked = carryFuseBitsOver(stored, kNotStored, mega8);
    EXPECT_EQ(unmarked.state, stored);
    EXPECT_FALSE(unmarked.layoutChanged);
}

TEST(FuseBitCarryOver, AnUnknownStoredLayoutKeepsTheBitsButAsksForAReview) {
    const int mega8 = deviceNamed("ATmega8");
    const LockFuseState stored = withFuses(*layoutOf(mega8), {"SPIEN"});
    for (int unknown : {2, 999}) {
        const CarriedFuseBits carried = carryFuseBitsOver(stored, unknown, mega8);
        EXPECT_EQ(carried.state, stored);
        EXPECT_TRUE(carried.layoutChanged);
    }
    EXPECT_FALSE(carryFuseBitsOver(stored, kNotStored, DeviceTable::count()).layoutChanged);
}

}  // namespace
}  // namespace zavuv::devices

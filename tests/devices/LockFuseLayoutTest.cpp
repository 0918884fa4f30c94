#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "LockFuseTestSupport.h"
#include "devices/LockFuseLayout.h"

using namespace zavuv::devices;
using namespace zavuv::devices::testing;

namespace {

const std::set<int> kUsedLayouts = {0,  1,  10, 12, 13, 14, 16, 17, 18, 20, 22, 23, 26,
                                    27, 28, 29, 30, 32, 33, 35, 37, 39, 40, 41, 42, 43,
                                    44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56};

const std::set<int> kAvrLayouts = {10, 12, 13, 14, 16, 17, 18, 20, 23, 26, 29,
                                   30, 32, 33, 35, 39, 40, 41, 42, 43, 44, 45,
                                   46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56};

// The layouts that chips had before their fuse maps were corrected.
const std::set<int> kRetiredLayouts = {19, 21, 24, 25, 31, 34, 36, 38};

std::vector<std::string> fuseNames(const LockFuseLayout& layout) {
    return {layout.fuseName.begin(), layout.fuseName.begin() + layout.fuseCount};
}

}  // namespace

TEST(LockFuseLayoutTable, KeepsExactlyTheLayoutsThatDevicesUse) {
    for (int i = -1; i <= kLayoutCount; ++i) {
        EXPECT_EQ(lockFuseLayout(i) != nullptr, kUsedLayouts.count(i) == 1) << "layout " << i;
        EXPECT_EQ(retiredLockFuseLayout(i) != nullptr, kRetiredLayouts.count(i) == 1)
            << "layout " << i;
    }
}

TEST(LockFuseLayoutTable, EveryDeviceResolvesToItsLayout) {
    for (int d = 0; d < DeviceTable::count(); ++d) {
        const LockFuseLayout* layout = layoutOf(d);
        ASSERT_NE(layout, nullptr) << DeviceTable::at(d).name;
        EXPECT_EQ(layout, lockFuseLayout(DeviceTable::at(d).lockFuseLayout));
    }
    EXPECT_EQ(layoutOf(-1), nullptr);
    EXPECT_EQ(layoutOf(DeviceTable::count()), nullptr);
}

TEST(LockFuseLayoutTable, EveryLayoutIsConsistent) {
    for (int index : kUsedLayouts) {
        SCOPED_TRACE(index);
        const LockFuseLayout& layout = *lockFuseLayout(index);
        ASSERT_LE(layout.fuseCount, 24);  // the dialog has 24 fuse buttons
        EXPECT_TRUE(layout.bootLockCount == 0 || layout.bootLockCount == kBootLockBits);
        EXPECT_EQ(layout.fuseByte(FuseByte::Low).present, layout.fuseCount > 0);
        for (int i = 0; i < kMaxFuses; ++i) {
            EXPECT_EQ(std::string(layout.fuseName[i]).empty(), i >= layout.fuseCount) << i;
            int writers = 0;
            for (const FuseByteLayout& byte : layout.fuseBytes) {
                writers += byte.writePos[i].present() ? 1 : 0;
                if (i >= layout.fuseCount) {
                    EXPECT_EQ(byte.readPos[i], -1) << i;
                    EXPECT_FALSE(byte.writePos[i].present()) << i;
                }
            }
            EXPECT_LE(writers, 1) << "fuse " << i << " written by two bytes";
        }
        for (int j = 0; j < kBootLockBits; ++j)
            EXPECT_EQ(std::string(layout.bootLockName[j]).empty(), j >= layout.bootLockCount);
    }
}

TEST(LockFuseLayoutTable, FuseCountsFollowTheNamedBits) {
    const std::map<int, int> counts = {
        {0, 0},   {1, 0},   {10, 18}, {12, 16}, {13, 16}, {14, 13}, {16, 16}, {17, 16},
        {18, 16}, {20, 18}, {22, 0},  {23, 13}, {26, 19}, {27, 0},  {28, 0},  {29, 20},
        {30, 19}, {32, 19}, {33, 19}, {35, 19}, {37, 4},  {39, 17}, {40, 17}, {41, 17},
        {42, 17}, {43, 22}, {44, 23}, {45, 20}, {46, 20}, {47, 19}, {48, 20}, {49, 17},
        {50, 19}, {51, 19}, {52, 19}, {53, 20}, {54, 20}, {55, 17}, {56, 17}};
    for (auto [index, count] : counts)
        EXPECT_EQ(lockFuseLayout(index)->fuseCount, count) << "layout " << index;
    const std::map<int, int> retiredCounts = {{19, 20}, {21, 20}, {24, 17}, {25, 17},
                                              {31, 23}, {34, 17}, {36, 17}, {38, 23}};
    for (auto [index, count] : retiredCounts)
        EXPECT_EQ(retiredLockFuseLayout(index)->fuseCount, count) << "layout " << index;
}

TEST(LockFuseLayoutTable, AvrLayoutsShareTheSerialInstructionSet) {
    for (int index : kAvrLayouts) {
        SCOPED_TRACE(index);
        const LockFuseLayout& layout = *lockFuseLayout(index);
        EXPECT_TRUE(layout.lockReadable);
        EXPECT_EQ(layout.lockReadCmd, (ReadCommand{0x58, 0x00, 0x00}));
        EXPECT_EQ(layout.lockReadPos, (std::array<std::int8_t, 3>{0, 1, -1}));
        EXPECT_EQ(layout.fuseByte(FuseByte::Low).readCmd, (ReadCommand{0x50, 0x00, 0x00}));
        EXPECT_EQ(layout.fuseByte(FuseByte::High).readCmd, (ReadCommand{0x58, 0x08, 0x00}));
        EXPECT_EQ(layout.fuseByte(FuseByte::Extended).readCmd, (ReadCommand{0x50, 0x08, 0x00}));
        EXPECT_TRUE(layout.fuseByte(FuseByte::High).present);
        if (index == 35) {
            EXPECT_EQ(layout.lockWriteTemplate, (Instruction{0xAC, 0xE0, 0x00, 0xFF}));
            EXPECT_EQ(layout.fuseByte(FuseByte::Low).writeTemplate,
                      (Instruction{0xAC, 0xA0, 0x00, 0xFF}));
            EXPECT_EQ(layout.fuseByte(FuseByte::Extended).writeTemplate,
                      (Instruction{0xAC, 0xA4, 0x00, 0xFF}));
        } else {
            EXPECT_EQ(layout.lockWriteTemplate, (Instruction{0xAC, 0xFF, 0xFF, 0xFF}));
            EXPECT_EQ(layout.fuseByte(FuseByte::Low).writeTemplate,
                      (Instruction{0xAC, 0xA0, 0xFF, 0xFF}));
        }
        const bool zeroHigh = index == 26 || index == 35 || index == 50 || index == 51;
        EXPECT_EQ(
            layout.fuseByte(FuseByte::High).writeTemplate,
            (Instruction{0xAC, 0xA8, static_cast<std::uint8_t>(zeroHigh ? 0x00 : 0xFF), 0xFF}));
        // A fuse of another byte reads as bit 0 of the low answer until its own byte is read.
        const FuseByteLayout& low = layout.fuseByte(FuseByte::Low);
        for (int i = 0; i < layout.fuseCount; ++i) {
            if (!low.writePos[i].present()) {
                EXPECT_EQ(low.readPos[i], 0) << "fuse " << i;
            }
        }
    }
}

TEST(LockFuseLayoutTable, Atmega8NamesItsFusesByByte) {
    const LockFuseLayout& layout = layoutOfDevice("ATmega8");
    EXPECT_EQ(fuseNames(layout),
              (std::vector<std::string>{"CKSEL0", "CKSEL1", "CKSEL2", "CKSEL3", "SUT0", "SUT1",
                                        "BODEN", "BODLEVEL", "BOOTRST", "BOOTSZ0", "BOOTSZ1",
                                        "EESAVE", "CKOPT", "SPIEN", "WDTON", "RSTDISBL"}));
    EXPECT_FALSE(layout.fuseByte(FuseByte::Extended).present);
    EXPECT_EQ(layout.fuseWarn[13], 1);
    for (int i = 0; i < layout.fuseCount; ++i) {
        if (i != 13) {
            EXPECT_EQ(layout.fuseWarn[i], 0) << layout.fuseName[i];
        }
    }
    EXPECT_EQ(std::string(layout.bootLockName[1]), "BLB02");
    EXPECT_EQ(layout.bootLockPos, (std::array<std::int8_t, 4>{2, 3, 4, 5}));
}

TEST(LockFuseLayoutTable, BitsWithoutFuseTakeNoIndex) {
    // ATmega162: extended bit 0 carries no fuse; BODLEVEL0 sits at bit 1.
    const LockFuseLayout& layout = layoutOfDevice("ATmega162");
    const FuseByteLayout& extended = layout.fuseByte(FuseByte::Extended);
    EXPECT_STREQ(layout.fuseName[16], "BODLEVEL0");
    EXPECT_EQ(extended.writePos[16].byte, 3);
    EXPECT_EQ(extended.writePos[16].bit, 1);
    EXPECT_EQ(extended.readPos[19], 4);  // M161C
    EXPECT_STREQ(layout.fuseName[19], "M161C");
}

TEST(LockFuseLayoutTable, OnlySpienTypeFusesWarnOnAvrChips) {
    for (int index : kAvrLayouts) {
        const LockFuseLayout& layout = *lockFuseLayout(index);
        int warnings = 0;
        for (int i = 0; i < layout.fuseCount; ++i)
            if (layout.fuseWarn[i] != 0) {
                EXPECT_STREQ(layout.fuseName[i], "SPIEN");
                EXPECT_EQ(layout.fuseWarn[i], 1);
                ++warnings;
            }
        const bool quiet = index == 14 || index == 23;  // ATtiny26, ATtiny13
        EXPECT_EQ(warnings, quiet ? 0 : 1) << "layout " << index;
    }
}

// The templates and bit positions are exercised by the encoding tests; these
// are what the chip operations send and check before they decode anything.
TEST(LockFuseLayoutTable, At89SReadInstructions) {
    const LockFuseLayout& s51 = layoutOfDevice("AT89S51");
    EXPECT_TRUE(s51.lockReadable);
    EXPECT_EQ(s51.lockReadCmd, (ReadCommand{0x24, 0x00, 0x00}));
    EXPECT_FALSE(s51.fuseByte(FuseByte::Low).readable);

    const LockFuseLayout& s8253 = layoutOfDevice("AT89S8253");
    EXPECT_TRUE(s8253.lockReadable);
    EXPECT_EQ(s8253.lockReadCmd, (ReadCommand{0x24, 0xFF, 0xFF}));
    EXPECT_EQ(s8253.fuseByte(FuseByte::Low).readCmd, (ReadCommand{0x21, 0xFF, 0xFF}));

    for (const char* device :
         {"AT89S2051", "AT89S4051", "AT89S8252", "AT89S53", "AT86RF401", "AT25256", "AT45DB642D"})
        EXPECT_FALSE(layoutOfDevice(device).lockReadable) << device;
}

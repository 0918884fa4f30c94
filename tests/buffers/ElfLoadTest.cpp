// An avr-gcc ELF file loaded into the buffers of a project: the Flash, the
// EEPROM alongside, the lock and fuse bits into the project, the signature
// checked against its device, and never written back.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "TestElf.h"
#include "buffers/MemoryBuffer.h"
#include "buffers/ProjectSettings.h"
#include "devices/DeviceNames.h"
#include "devices/LockFuseLayout.h"
#include "support/RecordingUserPort.h"
#include "support/ScratchFolder.h"

using namespace zavuv;
using namespace zavuv::buffers;
using zavuv::testing::makeTestElf;
using zavuv::testing::RecordingUserPort;
using zavuv::testing::ScratchFolder;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Code with its initialised data, EEPROM, fuses (low E4, high D9), lock bits
// (LB1 and LB2) and the ATmega8's signature, as avr-libc stores it.
Bytes atmega8Elf() {
    return makeTestElf(
               {
                   {".text", 0x0000, {0x0C, 0x94, 0x34, 0x00}},
                   {".data", 0x800060, {0x11, 0x22}},
                   {".eeprom", 0x810000, {1, 2, 3}},
                   {".fuse", 0x820000, {0xE4, 0xD9}},
                   {".lock", 0x830000, {0xFC}},
                   {".signature", 0x840000, {0x07, 0x93, 0x1E}},
               },
               {
                   {0, 0, 0x0000, 0x0000},
                   {1, 1, 0x800060, 0x0004},
                   {2, 2, 0x810000, 0x810000},
                   {3, 3, 0x820000, 0x820000},
                   {4, 4, 0x830000, 0x830000},
                   {5, 5, 0x840000, 0x840000},
               })
        .bytes;
}

class ElfLoad : public ::testing::Test {
protected:
    Bytes contents(const MemoryBuffer& b) const { return {b.data().begin(), b.data().end()}; }

    bool fuseProgrammed(const char* name) const {
        const auto* layout = devices::layoutOf(settings.deviceNo);
        for (int i = 0; i < layout->fuseCount; ++i)
            if (std::strcmp(layout->fuseName[i], name) == 0)
                return settings.lockFuse.fuse[i];
        ADD_FAILURE() << "no fuse " << name;
        return false;
    }

    ScratchFolder folder;
    RecordingUserPort port;
    MemoryBuffer flash{false, port};
    MemoryBuffer eeprom{true, port};
    ProjectSettings settings{flash, eeprom, port};
};

}  // namespace

TEST_F(ElfLoad, FlashBringsTheEepromAndTheLockAndFuseBitsAlong) {
    const std::string path = folder.write("blink.elf", atmega8Elf());
    ASSERT_TRUE(flash.loadFile(path));
    EXPECT_EQ(contents(flash), (Bytes{0x0C, 0x94, 0x34, 0x00, 0x11, 0x22}));
    EXPECT_EQ(contents(eeprom), (Bytes{1, 2, 3}));
    EXPECT_EQ(eeprom.path(), path);
    EXPECT_TRUE(port.questions().empty());
    EXPECT_TRUE(port.messages().empty());
    EXPECT_EQ(port.statuses(), (std::vector<std::string>{
                                   "Eeprom buffer: 3 bytes from '" + path + "'",
                                   "Lock and fuse bits of the project taken from '" + path + "'"}));
    EXPECT_TRUE(settings.dirty);
    EXPECT_EQ(settings.lockFuseFile, path);  // the Lock/Fuse dialog shows them
    EXPECT_EQ(settings.lockFuse.lockMode, 2);
    EXPECT_TRUE(fuseProgrammed("SPIEN"));
    EXPECT_TRUE(fuseProgrammed("BOOTSZ0"));
    EXPECT_FALSE(fuseProgrammed("CKOPT"));
    EXPECT_TRUE(fuseProgrammed("SUT0"));
    EXPECT_FALSE(fuseProgrammed("SUT1"));
    EXPECT_FALSE(fuseProgrammed("CKSEL2"));

    // The EEPROM buffer alone takes only the EEPROM.
    flash.clear();
    eeprom.clear();
    eeprom.loadFile(path);
    EXPECT_EQ(contents(eeprom), (Bytes{1, 2, 3}));
    EXPECT_EQ(flash.size(), 0u);
}

TEST_F(ElfLoad, IsNeverWrittenBack) {
    const Bytes elf = atmega8Elf();
    const std::string path = folder.write("blink.elf", elf);
    flash.loadFile(path);
    flash.setByte(0, 0x00);
    EXPECT_FALSE(flash.savesToItsFile());
    EXPECT_FALSE(flash.save());
    EXPECT_FALSE(flash.saveAs(folder.file("copy.ELF")));
    EXPECT_EQ(port.messages().back(), "ELF files are never written: save as HEX, S-record or BIN");
    EXPECT_EQ(zavuv::testing::bytesOf(ScratchFolder::read(path)), elf);

    ASSERT_TRUE(flash.saveAs(folder.file("blink.hex")));
    EXPECT_TRUE(flash.savesToItsFile());
    EXPECT_TRUE(flash.save());
}

TEST_F(ElfLoad, AnotherChipsSignatureIsAQuestion) {
    settings.deviceNo = devices::findDeviceByName("ATtiny13")->index;
    const std::string path = folder.write("blink.elf", atmega8Elf());
    port.answerNext(base::Answer::No);
    flash.loadFile(path);
    EXPECT_EQ(flash.size(), 0u);
    EXPECT_EQ(eeprom.size(), 0u);
    ASSERT_EQ(port.questions().size(), 1u);
    EXPECT_EQ(port.questions()[0], "The file was built for a chip with the signature 1E 93 07, "
                                   "but ATtiny13 has the signature 1E 90 07. Load it anyway?");

    port.answerNext(base::Answer::Yes);
    flash.loadFile(path);
    EXPECT_EQ(flash.size(), 6u);
    EXPECT_EQ(eeprom.size(), 3u);
    EXPECT_EQ(port.questions().size(), 2u) << "the EEPROM is not asked about again";
}

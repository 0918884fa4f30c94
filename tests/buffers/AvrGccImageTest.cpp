// Images built by avr-gcc: the ELF reader against avr-objcopy's own view of the
// same file, and the avr-gcc EEPROM file at 0x810000 in each text format.

#include <gtest/gtest.h>

#include <variant>

#include "buffers/ElfImage.h"
#include "buffers/FileLimits.h"
#include "buffers/IntelHex.h"
#include "buffers/SRecord.h"
#include "support/AvrSources.h"
#include "support/AvrToolchainTest.h"
#include "support/RecordingUserPort.h"
#include "support/ScratchFolder.h"

using namespace zavuv::buffers;
using namespace zavuv::testing;

namespace {

using Bytes = std::vector<std::uint8_t>;

class AvrGccImage : public AvrToolchainTest {
protected:
    // Builds the program; an empty path after a failure.
    std::string build(const char* source, const std::string& mcu,
                      const std::vector<std::string>& extra = {}) {
        const std::string elf = folder_.file(mcu + ".elf");
        const auto result = buildAvrProgram(source, mcu, elf, extra);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return result.exitCode == 0 ? elf : std::string{};
    }

    // avr-objcopy's output file for these arguments (input and output appended).
    Bytes objcopy(const std::string& elf, std::vector<std::string> arguments) {
        const std::string out = folder_.file("objcopy.out");
        arguments.push_back(elf);
        arguments.push_back(out);
        const auto result = runTool("avr-objcopy", arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return bytesOf(ScratchFolder::read(out));
    }

    // The EEPROM as the usual .eep rule writes it: at its linker address 0x810000.
    Bytes eepromFile(const std::string& elf, const std::string& format) {
        return objcopy(elf,
                       {"-j", ".eeprom", "--set-section-flags=.eeprom=alloc,load", "-O", format});
    }

    static ElfImage readElf(const std::string& path) {
        const Bytes file = bytesOf(ScratchFolder::read(path));
        auto result = readElfImage(file);
        if (const auto* error = std::get_if<ElfError>(&result)) {
            ADD_FAILURE() << "refused: problem " << static_cast<int>(error->problem) << " ("
                          << error->detail << ")";
            return {};
        }
        return std::get<ElfImage>(std::move(result));
    }

    static ImageSegments readSRecordText(const Bytes& text) {
        auto result = readSRecord(text, {kMaxImageSize});
        if (std::holds_alternative<SRecordError>(result)) {
            ADD_FAILURE() << "S-record text refused at line "
                          << std::get<SRecordError>(result).line;
            return {};
        }
        return std::get<SRecordImage>(std::move(result)).segments;
    }

    ScratchFolder folder_;
};

}  // namespace

TEST_F(AvrGccImage, BlinkElfHoldsWhatAvrObjcopyTakesFromIt) {
    const std::string elf = build(kBlinkSource, "atmega8", {"-DF_CPU=1000000UL"});
    ASSERT_FALSE(elf.empty());
    const ElfImage image = readElf(elf);

    ASSERT_EQ(image.flash.size(), 1u);
    EXPECT_EQ(image.flash[0].address, 0u);
    EXPECT_EQ(image.flash[0].bytes, objcopy(elf, {"-j", ".text", "-j", ".data", "-O", "binary"}));
    // The initialised data sits at the end of the Flash image, where the start-up
    // code copies it from.
    const auto& flash = image.flash[0].bytes;
    EXPECT_EQ(Bytes(flash.end() - 4, flash.end()), (Bytes{0x11, 0x22, 0x33, 0x44}));

    EXPECT_EQ(image.eeprom, (ImageSegments{{0, {1, 2, 3, 4, 5}}}));
    EXPECT_EQ(image.eeprom[0].bytes,
              objcopy(elf, {"-j", ".eeprom", "--change-section-lma", ".eeprom=0", "-O", "binary"}));
    EXPECT_EQ(image.fuses, (Bytes{0xE4, 0xD9}));
    EXPECT_EQ(image.lock, 0xFC);
    // The ATmega8's signature 1E 93 07, stored last byte first.
    EXPECT_EQ(image.signature, (std::array<std::uint8_t, 3>{0x07, 0x93, 0x1E}));

    // The same Flash as S-records from avr-objcopy.
    EXPECT_EQ(readSRecordText(objcopy(elf, {"-j", ".text", "-j", ".data", "-O", "srec"})),
              image.flash);
}

TEST_F(AvrGccImage, EepromFileAtItsLinkerAddressIsTheElfsEeprom) {
    const std::string elf = build(kBlinkSource, "atmega8", {"-DF_CPU=1000000UL"});
    ASSERT_FALSE(elf.empty());
    const ElfImage image = readElf(elf);

    const auto srec = readSRecordText(eepromFile(elf, "srec"));
    ASSERT_EQ(srec.size(), 1u);
    EXPECT_EQ(srec[0].address, kAvrEepromRange.begin);
    const auto split = splitImage(srec, kAvrEepromRange);
    EXPECT_EQ(split.inside, image.eeprom);
    EXPECT_TRUE(split.outside.empty());

    const auto hex = readIntelHex(eepromFile(elf, "ihex"), {kMaxImageSize});
    ASSERT_TRUE(std::holds_alternative<ImageSegments>(hex));
    EXPECT_EQ(splitImage(std::get<ImageSegments>(hex), kAvrEepromRange).inside, image.eeprom);
}

TEST_F(AvrGccImage, BootLoaderStaysAtItsHighAddress) {
    const std::string elf =
        build(kBootLoaderSource, "atmega128",
              {"-Wl,--section-start=.text=0x1F000", "-Wl,--section-start=.eeprom=0x810010"});
    ASSERT_FALSE(elf.empty());
    const ElfImage image = readElf(elf);

    ASSERT_EQ(image.flash.size(), 1u);
    EXPECT_EQ(image.flash[0].address, 0x1F000u);
    // avr-objcopy's binary starts at the lowest address it writes.
    EXPECT_EQ(image.flash[0].bytes, objcopy(elf, {"-j", ".text", "-j", ".data", "-O", "binary"}));
    EXPECT_EQ(image.eeprom, (ImageSegments{{16, {0xA5, 0x5A, 0x01}}}));
    EXPECT_TRUE(image.fuses.empty());
    EXPECT_FALSE(image.lock);
    EXPECT_FALSE(image.signature);

    // Written as S2 records, it reads back the same, and srec_cat sees the same
    // bytes at the same address.
    const std::string ours = writeSRecord(image.flash, bytesOf("boot"));
    EXPECT_EQ(ours.substr(ours.find('\n') + 1, 2), "S2");
    EXPECT_EQ(readSRecordText(bytesOf(ours)), image.flash);
    if (findProgram("srec_cat").empty())
        return;
    const auto path = folder_.write("boot.srec", ours);
    const auto back = folder_.file("back.bin");
    const auto converted =
        runTool("srec_cat", {path, "-offset", "-0x1F000", "-o", back, "-binary"});
    ASSERT_EQ(converted.exitCode, 0) << converted.err;
    EXPECT_EQ(bytesOf(ScratchFolder::read(back)), image.flash[0].bytes);
}

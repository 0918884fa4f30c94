// Images built by Debian's avr-gcc, taken the whole way on the simulated
// board: loaded, programmed, verified and read back.

#include <gtest/gtest.h>

#include "operations/LockFuseOnChip.h"
#include "operations/MemoryTesting.h"
#include "operations/OperationFrame.h"
#include "support/AvrSources.h"
#include "support/AvrToolchainTest.h"

using namespace zavuv;
using namespace zavuv::testing;

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr const char* kApplicationSource = R"(
#include <avr/io.h>
int main(void) {
    DDRA = 0xFF;
    for (;;)
        PORTA++;
}
)";

class AvrGccProgram : public AvrToolchainTest {
protected:
    std::string build(const char* source, const std::string& mcu, const std::string& name,
                      const std::vector<std::string>& extra = {}) {
        const std::string elf = folder_.file(name + ".elf");
        const auto result = buildAvrProgram(source, mcu, elf, extra);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return result.exitCode == 0 ? elf : std::string{};
    }

    // avr-objcopy's output for these arguments, written as `name`.
    std::string objcopy(const std::string& elf, std::vector<std::string> arguments,
                        const std::string& name) {
        const std::string out = folder_.file(name);
        arguments.insert(arguments.end(), {elf, out});
        const auto result = runTool("avr-objcopy", arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return out;
    }

    Bytes flashBinary(const std::string& elf) {
        return bytesOf(ScratchFolder::read(
            objcopy(elf, {"-j", ".text", "-j", ".data", "-O", "binary"}, "flash.bin")));
    }

    // The EEPROM file of the usual .eep rule: Intel HEX at 0x810000.
    std::string eepFile(const std::string& elf) {
        return objcopy(elf,
                       {"-j", ".eeprom", "--set-section-flags=.eeprom=alloc,load", "-O", "ihex"},
                       "image.eep");
    }

    // Flash is programmed in words: an odd image gains one erased byte.
    static std::size_t inWords(std::size_t bytes) { return bytes + bytes % 2; }

    static Bytes part(const Bytes& memory, std::size_t from, std::size_t count) {
        return {memory.begin() + static_cast<long>(from),
                memory.begin() + static_cast<long>(from + count)};
    }

    ScratchFolder folder_;
};

}  // namespace

TEST_F(AvrGccProgram, ElfWithEepromFusesAndLockGoesOntoTheChipAndReadsBack) {
    const std::string elf = build(kBlinkSource, "atmega8", "blink", {"-DF_CPU=1000000UL"});
    ASSERT_FALSE(elf.empty());
    const Bytes flash = flashBinary(elf);
    SimulatedWorkspace sim("ATmega8");
    auto& ws = sim.ws();
    ws.flash().loadFile(elf);
    ASSERT_EQ(ws.eeprom().path(), elf);  // the ELF's EEPROM came along

    EXPECT_TRUE(operations::programFlash(ws));
    EXPECT_TRUE(operations::programEeprom(ws));
    EXPECT_EQ(sim.user().lastStatus(), "Eeprom program: Done (5 bytes programmed)");
    EXPECT_TRUE(operations::verifyFlash(ws));
    EXPECT_EQ(sim.user().lastStatus(),
              "Flash verify: OK (" + std::to_string(inWords(flash.size())) + " bytes verified)");
    EXPECT_TRUE(operations::verifyEeprom(ws));

    const auto& chip = sim.board().chip();
    EXPECT_EQ(part(chip.flash, 0, flash.size()), flash);
    EXPECT_EQ(part(chip.eeprom, 0, 5), (Bytes{1, 2, 3, 4, 5}));
    EXPECT_TRUE(operations::readFlash(ws));
    EXPECT_EQ(part(Bytes(ws.flash().data().begin(), ws.flash().data().end()), 0, flash.size()),
              flash);
    EXPECT_EQ(ws.flash().size(), chip.flash.size());

    // The lock bits shut the chip, so they go last, with the safety question.
    sim.user().answerNext(base::Answer::Yes);
    EXPECT_TRUE(operations::programLockFuse(ws, ws.project().lockFuse, true));
    EXPECT_EQ(chip.lowFuse, 0xE4);
    EXPECT_EQ(chip.highFuse, 0xD9);
    EXPECT_EQ(chip.lock, 0xFC);
}

TEST_F(AvrGccProgram, EepFileAtTheLinkerAddressLeavesTheOtherBytesAsTheyWere) {
    const std::string elf =
        build(kBootLoaderSource, "atmega16", "serial", {"-Wl,--section-start=.eeprom=0x810010"});
    ASSERT_FALSE(elf.empty());
    SimulatedWorkspace sim("ATmega16");
    auto& ws = sim.ws();
    auto& eeprom = sim.board().chip().eeprom;
    eeprom = patternBytes(eeprom.size(), 5);  // calibration data of this unit
    Bytes expected = eeprom;
    std::ranges::copy(Bytes{0xA5, 0x5A, 0x01}, expected.begin() + 16);

    ws.eeprom().loadFile(eepFile(elf));
    ASSERT_EQ(ws.eeprom().size(), 19u);
    EXPECT_TRUE(operations::programEeprom(ws));
    EXPECT_EQ(sim.user().lastStatus(), "Eeprom program: Done (3 bytes programmed)");
    EXPECT_EQ(eeprom, expected);
    EXPECT_TRUE(operations::verifyEeprom(ws));
    EXPECT_EQ(sim.user().lastStatus(), "Eeprom verify: OK (3 bytes verified)");
    EXPECT_TRUE(operations::readEeprom(ws));
    EXPECT_EQ(Bytes(ws.eeprom().data().begin(), ws.eeprom().data().end()), expected);
}

TEST_F(AvrGccProgram, BootLoaderAtAHighAddressLeavesTheApplicationIntact) {
    const std::string application = build(kApplicationSource, "atmega128", "application");
    const std::string boot =
        build(kBootLoaderSource, "atmega128", "boot", {"-Wl,--section-start=.text=0x1F000"});
    ASSERT_FALSE(application.empty() || boot.empty());
    const Bytes app = flashBinary(application);
    const Bytes loader = flashBinary(boot);
    SimulatedWorkspace sim("ATmega128");
    auto& ws = sim.ws();

    ws.flash().loadFile(application);
    EXPECT_TRUE(operations::programFlash(ws));
    ws.flash().loadFile(boot);
    ASSERT_EQ(ws.flash().size(), 0x1F000 + inWords(loader.size()));
    EXPECT_TRUE(operations::programFlash(ws));
    EXPECT_TRUE(operations::verifyFlash(ws));
    EXPECT_EQ(sim.user().lastStatus(),
              "Flash verify: OK (" + std::to_string(inWords(loader.size())) + " bytes verified)");

    EXPECT_TRUE(operations::readFlash(ws));
    const Bytes read(ws.flash().data().begin(), ws.flash().data().end());
    EXPECT_EQ(part(read, 0, app.size()), app);
    EXPECT_EQ(part(read, 0x1F000, loader.size()), loader);
}

// A production line's day in virtual time: a thousand unattended auto-program
// runs in a row on one simulated board, each with erase, blank check, program
// and verify of Flash and EEPROM and a serial-number increment saved to its
// file. Every run must be DONE, every chip must get its own number, and the
// process must not grow in memory or open files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "operations/AutoProgram.h"
#include "support/SimulatedWorkspace.h"

namespace zavuv::testing {

namespace {

constexpr int kRuns = 1000;
constexpr int kFirstMeasure = 10;
// Allocator pages settling after the first runs; a leak of one buffer per run
// (700 bytes) would exceed it long before run 1000.
constexpr long kResidentSlackBytes = 512 * 1024;
// AddressSanitizer keeps freed memory in quarantine (256 MB by default), so the
// resident set grows there without a leak; LeakSanitizer checks that build.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kResidentSetMeaningful = false;
#else
constexpr bool kResidentSetMeaningful = true;
#endif
constexpr int kCounterAddress = 100;  // least significant byte of the Flash serial number

long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

long openDescriptors() {
    long count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

std::vector<std::uint8_t> image(std::size_t size, unsigned seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 29 + seed) % 240);
    return bytes;
}

// The big-endian 32-bit serial number ending at `address`.
std::uint32_t counterAt(std::span<const std::uint8_t> bytes, int address) {
    std::uint32_t value = 0;
    for (int i = address - 3; i <= address; ++i)
        value = value << 8 | bytes[static_cast<std::size_t>(i)];
    return value;
}

}  // namespace

TEST(Soak, ThousandAutoProgramRunsStayDoneAndFlat) {
    SimulatedWorkspace sim("ATmega8");
    auto& ws = sim.ws();
    auto flashImage = image(2000, 3);
    std::fill(flashImage.begin() + kCounterAddress - 3, flashImage.begin() + kCounterAddress + 1,
              0x00);
    ASSERT_TRUE(ws.flash().loadFile(sim.folder().write("flash.bin", flashImage)));
    ASSERT_TRUE(ws.eeprom().loadFile(sim.folder().write("eeprom.bin", image(256, 5))));
    auto& p = ws.project();
    p.autoErase = p.autoEmptyCheck = true;
    p.autoFlashReload = p.autoFlashProgram = p.autoFlashVerify = true;
    p.autoEepromReload = p.autoEepromProgram = p.autoEepromVerify = true;
    p.autoIncrementFlash = true;
    p.autoIncAddressFlash = kCounterAddress;
    p.autoIncrement = false;
    p.programFuse = false;

    long residentAtFirst = 0;
    long descriptorsAtFirst = 0;
    for (int run = 1; run <= kRuns; ++run) {
        ASSERT_TRUE(operations::autoProgramUnattended(ws))
            << "run " << run << ": " << sim.user().lastStatus();
        ASSERT_EQ(counterAt(sim.board().chip().flash, kCounterAddress),
                  static_cast<std::uint32_t>(run - 1))
            << "run " << run << " programmed another chip's number";
        ASSERT_TRUE(sim.boardIdle());
        // The test's own records (wire trace, pauses, texts) would grow; the program must not.
        sim.board().trace().flush();
        sim.board().trace().clearLines();
        ws.clock().virtualClock().clearPauses();
        sim.user().clearEvents();
        if (run == kFirstMeasure) {
            residentAtFirst = residentBytes();
            descriptorsAtFirst = openDescriptors();
        }
    }
    EXPECT_EQ(counterAt(ws.flash().data(), kCounterAddress), static_cast<std::uint32_t>(kRuns));
    const long growth = residentBytes() - residentAtFirst;
    RecordProperty("ResidentGrowthBytes", std::to_string(growth));
    RecordProperty("ResidentBytes", std::to_string(residentBytes()));
    RecordProperty("OpenDescriptors", std::to_string(openDescriptors()));
    if (kResidentSetMeaningful) {
        EXPECT_LE(growth, kResidentSlackBytes);
    }
    EXPECT_EQ(openDescriptors(), descriptorsAtFirst);
}

}  // namespace zavuv::testing

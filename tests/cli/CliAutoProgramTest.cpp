#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <variant>

#include "buffers/IntelHex.h"
#include "cli/CliTesting.h"
#include "support/FileSizeLimit.h"

using zavuv::testing::CliRun;
using zavuv::testing::ScratchFolder;

// A production line: each run programs the next serial number, because the
// incremented image is saved back to its file.
TEST(CliAutoProgram, ConsecutiveRunsProgramConsecutiveNumbers) {
    CliRun cli;
    std::string image(64, '\x11');
    image[2] = 0;
    image[3] = 0x09;
    const std::string flash = cli.folder().write("serial.bin", image);
    const std::string project = cli.folder().write(
        "job.kb2", "[Files]\nFlash=" + flash +
                       "\n[AutoProgram]\nAutoErase=1\nAutoFlashProgram=1\nAutoFlashVerify=1\n"
                       "AutoIncrementFlash=1\nAutoIncAddressFlash=3\n");
    const std::string state = cli.folder().file("chip");
    for (const int expected : {0x09, 0x0A}) {
        const auto result = cli({"-p", "sim", "--sim-state", state, "--sim-chip", "ATmega8", "-d",
                                 "ATmega8", "-P", project, "autoprogram"});
        ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
        EXPECT_NE(result.out.find("Autoprogram: DONE (64 Flash bytes programmed)\n"),
                  std::string::npos);
        EXPECT_NE(result.out.find("Serial number saved to " + flash + "\n"), std::string::npos);
        EXPECT_EQ(result.out.substr(result.out.size() - 16), "AUTOPROGRAM: OK\n");
        const std::string chip = cli.folder().read(state + "/flash.bin");
        EXPECT_EQ(static_cast<unsigned char>(chip[3]), expected);
        EXPECT_EQ(static_cast<unsigned char>(cli.folder().read(flash)[3]), expected + 1);
    }
}

TEST(CliAutoProgram, AFailedStepIsExitOne) {
    CliRun cli;
    const std::string flash = cli.folder().write("a.bin", std::string(32, '\x22'));
    const std::string project = cli.folder().write(
        "job.kb2", "[Files]\nFlash=" + flash + "\n[AutoProgram]\nAutoFlashVerify=1\n");
    const auto result = cli({"-p", "sim", "-d", "ATmega8", "-P", project, "autoprogram"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find("Autoprogram: ERROR verifying Flash\nAUTOPROGRAM: Error\n"),
              std::string::npos)
        << result.out;
    EXPECT_EQ(cli.folder().read(flash), std::string(32, '\x22'));
}

TEST(CliAutoProgram, LockoutBitsAreRefusedUnlessAllowedOrForced) {
    CliRun cli;
    // ATmega8: SPIEN and RSTDISBL programmed, after an erase.
    const std::string bits = "[Files]\nFlash=[Unspecified]\n[AutoProgram]\nAutoErase="
                             "1\nProgramFuse=1\nFuse1=1\nFuse2=1\n"
                             "Fuse3=1\nFuse13=1\nFuse15=1\n";
    const std::string project = cli.folder().write("job.kb2", bits + "[Device]\nDeviceNo=12\n");
    const std::string trace = cli.folder().file("trace.txt");
    auto result = cli({"-p", "sim", "-P", project, "--sim-trace", trace, "-y", "autoprogram"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.ends_with(
        "Autoprogram: ERROR programming lock and fuse bits\nAUTOPROGRAM: Error\n"))
        << result.out;
    EXPECT_NE(result.err.find("Auto-program refused before touching the chip"), std::string::npos);
    EXPECT_EQ(cli.folder().read(trace), "");

    result = cli({"-p", "sim", "-P", project, "autoprogram", "--force-lockout"});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;

    const std::string allowed =
        cli.folder().write("allowed.kb2", bits + "AllowLockout=1\n[Device]\nDeviceNo=12\n");
    result = cli({"-p", "sim", "-P", allowed, "autoprogram"});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("(AllowLockout=1)"), std::string::npos) << result.out;
}

namespace {

// An image with the counter's low byte at address 3, as Intel HEX.
std::string hexImageWithSerial(unsigned char serial, std::size_t size = 64) {
    std::vector<std::uint8_t> image(size, 0x33);
    image[2] = 0;
    image[3] = serial;
    return zavuv::buffers::writeIntelHex(image);
}

unsigned char serialInHex(const std::string& text) {
    const auto read = zavuv::buffers::readIntelHex(
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
        {.addressLimit = 0x1000000});
    const auto* segments = std::get_if<zavuv::buffers::ImageSegments>(&read);
    if (segments == nullptr)
        return 0;
    const auto image = zavuv::buffers::flatten(*segments, 0xFF);
    return image.size() > 3 ? image[3] : 0;
}

std::string projectFor(const CliRun& cli, const std::string& flash) {
    return cli.folder().write(
        "job.kb2", "[Files]\nFlash=" + flash +
                       "\n[AutoProgram]\nAutoErase=1\nAutoFlashProgram=1\nAutoFlashVerify=1\n"
                       "AutoIncrementFlash=1\nAutoIncAddressFlash=3\n");
}

}  // namespace

// Stations running the same project at once each take a number of their own:
// the numbers are reserved in the file under a lock before chips are programmed.
// The file keeps its format although its name says nothing about it.
TEST(CliAutoProgram, ParallelStationsProgramDifferentNumbers) {
    CliRun cli;
    const std::string flash = cli.folder().write("serial.ihx", hexImageWithSerial(0x20));
    const std::string project = projectFor(cli, flash);
    constexpr int kStations = 8;
    std::vector<zavuv::testing::StartedProgram> stations;
    for (int i = 0; i < kStations; ++i)
        stations.push_back(
            cli.start({"-p", "sim", "--sim-state", cli.folder().file("chip" + std::to_string(i)),
                       "--sim-chip", "ATmega8", "-d", "ATmega8", "-P", project, "autoprogram"}));
    std::set<int> programmed;
    for (int i = 0; i < kStations; ++i) {
        const auto result = zavuv::testing::collectProgram(stations[static_cast<std::size_t>(i)]);
        ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
        EXPECT_TRUE(result.out.ends_with("AUTOPROGRAM: OK\n")) << result.out;
        const std::string chip =
            ScratchFolder::read(cli.folder().file("chip" + std::to_string(i)) + "/flash.bin");
        programmed.insert(static_cast<unsigned char>(chip.at(3)));
    }
    EXPECT_EQ(programmed.size(), static_cast<std::size_t>(kStations));
    EXPECT_EQ(*programmed.begin(), 0x20);
    EXPECT_EQ(*programmed.rbegin(), 0x20 + kStations - 1);
    const std::string saved = ScratchFolder::read(flash);
    EXPECT_TRUE(saved.starts_with(":10000000")) << saved;
    EXPECT_EQ(serialInHex(saved), 0x20 + kStations);
}

// A number that cannot be saved as taken is never programmed: otherwise every
// later chip would get it too.
TEST(CliAutoProgram, ANumberThatCannotBeSavedStopsTheRun) {
    ZAVUV_SKIP_WITHOUT_FILE_SIZE_LIMIT();
    CliRun cli;
    // The whole ATmega8 Flash: its HEX text is about three times the size of
    // the simulated chip's files.
    const std::string flash = cli.folder().write("serial.ihx", hexImageWithSerial(0x41, 8192));
    const std::string project = projectFor(cli, flash);
    const std::string state = cli.folder().file("chip");
    zavuv::testing::ProgramResult result;
    {
        // The chip's files fit, the image's text does not: the disk is "full".
        const zavuv::testing::FileSizeLimit full(16384);
        result =
            cli({"-p", "sim", "--sim-state", state, "-d", "ATmega8", "-P", project, "autoprogram"});
    }
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("message: Cannot save file " + flash + ": File too large\n"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.out.find("The next serial number cannot be saved to " + flash +
                              ": nothing was programmed\nAUTOPROGRAM: Error\n"),
              std::string::npos)
        << result.out;
    EXPECT_EQ(result.out.find("Autoprogram: started"), std::string::npos) << result.out;
    EXPECT_EQ(ScratchFolder::read(state + "/flash.bin"), std::string(8192, '\xFF'));
    EXPECT_EQ(serialInHex(ScratchFolder::read(flash)), 0x41);
}

// Program Flash from the command line steps the number as the auto-program
// does, and saves it back in the file's own format: binary, whatever the name.
TEST(CliAutoProgram, ProgramFlashSavesTheNextNumberBack) {
    CliRun cli;
    std::string image(32, '\x55');
    image[3] = '\x07';
    const std::string flash = cli.folder().write("serial.img", image);
    const std::string project = cli.folder().write(
        "job.kb2", "[Files]\nFlash=" + flash +
                       "\n[AutoProgram]\nAutoIncrementFlash=1\nAutoIncAddressFlash=3\n");
    const std::string state = cli.folder().file("chip");
    for (const char expected : {'\x07', '\x08'}) {
        const auto result = cli({"-p", "sim", "--sim-state", state, "--sim-chip", "ATmega8", "-d",
                                 "ATmega8", "-P", project, "--yes", "erase"});
        ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
        const auto programmed = cli({"-p", "sim", "--sim-state", state, "--sim-chip", "ATmega8",
                                     "-d", "ATmega8", "-P", project, "program-flash"});
        ASSERT_EQ(programmed.exitCode, 0) << programmed.out << programmed.err;
        EXPECT_EQ(programmed.err.find("question"), std::string::npos) << programmed.err;
        EXPECT_EQ(ScratchFolder::read(state + "/flash.bin").at(3), expected);
        const std::string saved = ScratchFolder::read(flash);
        ASSERT_EQ(saved.size(), 32u);
        EXPECT_EQ(saved[3], expected + 1);
    }
}

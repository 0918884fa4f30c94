#include <gtest/gtest.h>

#include "cli/CliTesting.h"

using zavuv::testing::CliRun;
using zavuv::testing::ProgramResult;
using zavuv::testing::ScratchFolder;

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// An ATmega8 project: lock mode 1, CKSEL0 and SPIEN programmed.
std::string lockFuseProject(const ScratchFolder& folder, const std::string& fuses) {
    return folder.write("job.kb2", "[Files]\nFlash=[Unspecified]\n[AutoProgram]\nLockMode=1\n" +
                                       fuses + "[Device]\nDeviceNo=12\n");
}

}  // namespace

TEST(CliChip, SignatureEraseAndCalibration) {
    CliRun cli;
    auto result = cli({"-p", "sim", "signature"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.ends_with("Signature: 1E 93 07 - ATmega8\n")) << result.out;

    result = cli({"-p", "sim", "-d", "AT89S8252", "signature"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "message: The signature of AT89S8252 cannot be read\n");

    result = cli({"-p", "sim", "-d", "ATmega16", "erase"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.ends_with("Chip erased; signature: 1E 94 03 - ATmega16\n"));

    result = cli({"-p", "sim", "-d", "ATtiny13", "calibration"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.ends_with("Calibration bytes: A8 A5\n"));
    EXPECT_EQ(result.err, "message: Calibration bytes:\n\n    9.6 MHz: 0xA8\n    4.8 MHz: 0xA5\n");

    result = cli({"-p", "sim", "-d", "ATtiny85", "calibration"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.ends_with("Calibration byte: A8\n"));
    EXPECT_EQ(result.err, "message: Calibration byte:\n\n    8 MHz: 0xA8\n");

    result = cli({"-p", "sim", "--sim-fault", "silent-after=13", "calibration"});
    EXPECT_EQ(result.exitCode, 1);
}

TEST(CliChip, ChipsAreNamedByTableNameOrAlias) {
    CliRun cli;
    auto result = cli({"-p", "sim", "--sim-chip", "ATmega328P", "signature"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.ends_with("Signature: 1E 95 0F - ATmega328P\n")) << result.out;

    result = cli({"-p", "sim", "-d", "m328p", "signature"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.ends_with("Signature: 1E 95 0F - ATmega328P\n")) << result.out;

    // The second member of a record reads its own signature, which names the record.
    result = cli({"-p", "sim", "-d", "atmega2561", "signature"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.ends_with("Signature: 1E 98 02 - ATmega256x\n")) << result.out;

    result = cli({"-p", "sim", "-d", "ATmega1280", "--sim-chip", "T13", "signature"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.ends_with("Signature: 1E 90 07 - ATtiny13\n")) << result.out;

    result = cli({"-p", "sim", "-d", "ATmega328PB", "signature"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(contains(result.err, "Unknown device 'ATmega328PB'")) << result.err;
    result = cli({"-p", "sim", "--sim-chip", "m999", "signature"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(contains(result.err, "unknown chip 'm999'")) << result.err;
}

TEST(CliFuses, ReadPrintsOneBitPerLine) {
    CliRun cli;
    auto result = cli({"-p", "sim", "fuses", "read"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(contains(result.out, "\nLock mode: No\nBLB01: unprogrammed\n")) << result.out;
    EXPECT_TRUE(contains(result.out, "\nSPIEN: programmed\n"));
    EXPECT_TRUE(result.out.ends_with("\nRSTDISBL: unprogrammed\n"));

    result = cli({"-p", "sim", "-d", "AT86RF401", "fuses", "read"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(contains(result.err, "This device do not have a 'read lock/fuse bits' function."));
}

TEST(CliFuses, AChipWithRstdisblProgrammedStaysLockedOut) {
    CliRun cli;
    // SPIEN and RSTDISBL of an ATmega8 programmed.
    const std::string project = lockFuseProject(cli.folder(), "Fuse13=1\nFuse15=1\n");
    const std::string state = cli.folder().file("chip");
    auto result = cli({"-p", "sim", "-P", project, "--sim-state", state, "fuses", "program"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(contains(ScratchFolder::read(state + "/chip.ini"), "HighFuse=5F\n"));

    // The reset pin no longer resets the chip: it never enters programming mode again.
    result = cli({"-p", "sim", "--sim-state", state, "signature"});
    EXPECT_TRUE(result.out.ends_with("Signature: FF FF FF - Unknown device\n")) << result.out;
}

TEST(CliFuses, ProgramThenVerifyAgainstTheProject) {
    CliRun cli;
    const std::string project = lockFuseProject(cli.folder(), "Fuse0=1\nFuse13=1\n");
    const std::string state = cli.folder().file("chip");
    auto result = cli({"-p", "sim", "-P", project, "--sim-state", state, "fuses", "program"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string chip = ScratchFolder::read(state + "/chip.ini");
    EXPECT_TRUE(contains(chip, "Lock=FE\n")) << chip;
    EXPECT_TRUE(contains(chip, "LowFuse=FE\n"));
    EXPECT_TRUE(contains(chip, "HighFuse=DF\n"));

    result = cli({"-p", "sim", "-P", project, "--sim-state", state, "fuses", "verify"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "message: Lock&Fuse bits verify: OK\n");

    result = cli({"-p", "sim", "-P", project, "fuses", "verify"});  // a fresh chip
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(contains(result.err, "Lock&Fuse bits verify: Failed\n - lock mode should be "
                                     "'LB1: Write protect', is 'No'\n"))
        << result.err;

    EXPECT_EQ(cli({"-p", "sim", "fuses", "verify"}).exitCode, 2);
    EXPECT_EQ(cli({"-p", "sim", "fuses", "program"}).exitCode, 2);
}

TEST(CliFuses, DeclinedWarningSendsNothing) {
    CliRun cli;
    // SPIEN left unprogrammed would shut out serial programming.
    const std::string project = lockFuseProject(cli.folder(), "");
    const std::string trace = cli.folder().file("trace.txt");
    const auto result =
        cli({"-p", "sim", "-P", project, "--sim-trace", trace, "-n", "fuses", "program"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(contains(result.err, "question: Warning: some of fuse bits")) << result.err;
    EXPECT_TRUE(contains(result.err, "SPIEN should be programmed"));
    EXPECT_EQ(ScratchFolder::read(trace), "");
}

TEST(CliUpdateFirmware, UploadsTheImageNamedByTheEnvironment) {
    ScratchFolder folder;
    std::vector<std::uint8_t> image(12288);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 7);
    const std::string firmware = folder.write("zavuv-board.bin", image);
    const std::string trace = folder.file("trace.txt");
    const auto run = [&](const std::string& imagePath, const std::vector<std::string>& arguments) {
        std::vector<std::string> all{"-p",          "sim",         "--sim-fault",
                                     "no-firmware", "--sim-trace", trace};
        all.insert(all.end(), arguments.begin(), arguments.end());
        return zavuv::testing::runProgram(
            ZAVUV_CLI_PATH, all,
            {"ZAVUV_PROFILE=" + folder.file("profile.ini"), "ZAVUV_FIRMWARE=" + imagePath});
    };

    ProgramResult result = run(firmware, {"-y", "update-firmware", "--reduced"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(contains(result.out, "Version successfully updated\n"));
    EXPECT_TRUE(result.out.ends_with("ZAVUV ISP programmer (simulated) (Serial number 5A 56 53 "
                                     "00 01)\n"));
    EXPECT_TRUE(contains(result.err, "question: Current firmware version: Bootloader\n"
                                     "New firmware version: 1.09\nUpdate now?\nanswer: yes\n"));

    result = run(firmware, {"-n", "update-firmware"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_FALSE(contains(ScratchFolder::read(trace), "> 5E"));

    result = run(folder.file("missing.bin"), {"-y", "update-firmware"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err,
              "message: Firmware image '" + folder.file("missing.bin") + "' not found\n");
    EXPECT_EQ(ScratchFolder::read(trace), "");
}

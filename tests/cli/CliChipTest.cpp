#include <gtest/gtest.h>

#include "cli/CliTesting.h"
#include "support/TextLines.h"

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
    EXPECT_TRUE(result.out.ends_with(
        "\nRSTDISBL: unprogrammed\nLock byte: 0xFF\nLow fuse byte: 0xE1\nHigh fuse byte: 0xD9\n"))
        << result.out;

    result = cli({"-p", "sim", "-d", "AT86RF401", "fuses", "read"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(contains(result.err, "This device do not have a 'read lock/fuse bits' function."));
}

TEST(CliFuses, AChipWithRstdisblProgrammedStaysLockedOut) {
    CliRun cli;
    // SPIEN and RSTDISBL of an ATmega8 programmed.
    const std::string project = lockFuseProject(cli.folder(), "Fuse13=1\nFuse15=1\n");
    const std::string state = cli.folder().file("chip");
    auto result = cli({"-p", "sim", "-P", project, "--sim-state", state, "-y", "fuses", "program"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(contains(result.err, "Not programmed: RSTDISBL would stop serial programming"))
        << result.err;
    result = cli({"-p", "sim", "-P", project, "--sim-state", state, "-y", "fuses", "program",
                  "--force-lockout"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(contains(zavuv::testing::unixLineEnds(ScratchFolder::read(state + "/chip.ini")),
                         "HighFuse=5F\n"));

    // The reset pin no longer resets the chip: it never enters programming mode again.
    result = cli({"-p", "sim", "--sim-state", state, "signature"});
    EXPECT_TRUE(result.out.ends_with("Signature: FF FF FF - Unknown device\n")) << result.out;
}

TEST(CliFuses, ProgramThenVerifyAgainstTheProject) {
    CliRun cli;
    const std::string project = lockFuseProject(cli.folder(), "Fuse0=1\nFuse13=1\n");
    const std::string state = cli.folder().file("chip");
    // CKSEL 1110 selects a crystal, which the factory setting does not use: a question.
    auto result = cli({"-p", "sim", "-P", project, "--sim-state", state, "fuses", "program"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(contains(result.err, "CKSEL3..0 = 1110 selects a crystal")) << result.err;
    result = cli({"-p", "sim", "-P", project, "--sim-state", state, "-y", "fuses", "program"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string chip = zavuv::testing::unixLineEnds(ScratchFolder::read(state + "/chip.ini"));
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

TEST(CliFuses, SerialProgrammingChangesNeedForceAndYes) {
    CliRun cli;
    // SPIEN left unprogrammed would shut out serial programming.
    const std::string project = lockFuseProject(cli.folder(), "");
    const std::string trace = cli.folder().file("trace.txt");
    auto result = cli({"-p", "sim", "-P", project, "--sim-trace", trace, "-y", "fuses", "program"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(contains(result.err, "message: Warning: some of fuse bits")) << result.err;
    EXPECT_TRUE(contains(result.err, "SPIEN should be programmed\n     It enables serial"));
    EXPECT_TRUE(contains(result.err, "Give --force-lockout together with --yes"));
    EXPECT_EQ(ScratchFolder::read(trace), "");

    // Forced but declined: still nothing is sent.
    result = cli({"-p", "sim", "-P", project, "--sim-trace", trace, "-n", "fuses", "program",
                  "--force-lockout"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(contains(result.err, "question: Warning: some of fuse bits")) << result.err;
    EXPECT_TRUE(contains(result.err, "\nContinue?"));
    EXPECT_EQ(ScratchFolder::read(trace), "");

    // Forced and confirmed: the chip keeps SPIEN, and the read-back says so.
    result = cli({"-p", "sim", "-P", project, "-y", "fuses", "program", "--force-lockout"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(
        contains(result.err, "High fuse byte: 0xFF was programmed, but the chip reads 0xDF"))
        << result.err;
}

TEST(CliFuses, RawBytesGoThroughTheSameChecks) {
    CliRun cli;
    const std::string state = cli.folder().file("chip");
    const std::vector<std::string> m328p = {"-p",         "sim",        "-d",          "m328p",
                                            "--sim-chip", "ATmega328P", "--sim-state", state};
    const auto run = [&](std::vector<std::string> more) {
        std::vector<std::string> arguments = m328p;
        arguments.insert(arguments.end(), more.begin(), more.end());
        return cli(arguments);
    };
    // The usual Arduino setting: full-swing crystal, boot loader, BOD 2.7 V.
    auto result =
        run({"-y", "fuses", "program", "--low", "0xFF", "--high", "0xDE", "--ext", "0xFD"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string chip = zavuv::testing::unixLineEnds(ScratchFolder::read(state + "/chip.ini"));
    EXPECT_TRUE(contains(chip, "LowFuse=FF\nHighFuse=DE\nExtFuse=FD\n")) << chip;
    result = run({"fuses", "read"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.ends_with(
        "Lock byte: 0xFF\nLow fuse byte: 0xFF\nHigh fuse byte: 0xDE\nExtended fuse byte: 0xFD\n"))
        << result.out;

    // RSTDISBL (high bit 7) needs --force-lockout as well as --yes.
    result = run({"-y", "fuses", "program", "--low", "0xFF", "--high", "0x5E", "--ext", "0xFD"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(contains(result.err, "RSTDISBL should be unprogrammed")) << result.err;

    // Lock mode 2 is asked about: it stops reading and verifying.
    result = run({"-n", "fuses", "program", "--low", "0xFF", "--high", "0xDE", "--ext", "0xFD",
                  "--lock", "0xFC"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(contains(result.err, "Only a chip erase clears it")) << result.err;

    const auto usage = [&](std::vector<std::string> more, const std::string& message) {
        const auto r = run(more);
        EXPECT_EQ(r.exitCode, 2) << message;
        EXPECT_TRUE(contains(r.err, message)) << r.err;
    };
    usage({"fuses", "program", "--low", "0x62"},
          "The ATmega328P has a High fuse byte: give it with --high");
    usage({"fuses", "program", "--low", "0x62", "--high", "0xD9", "--ext", "0x100"},
          "Invalid value \"0x100\" for --ext: give a byte, 0x00 to 0xFF");
    usage({"fuses", "program", "--low", "E2", "--high", "0xD9", "--ext", "0xFF"},
          "Invalid value \"E2\" for --low");
    usage(
        {"fuses", "program", "--low", "0x62", "--high", "0xD9", "--ext", "0xFF", "--lock", "0xFD"},
        "Lock byte 0xFD programs LB2 without LB1, which is no lock mode");
    const auto m8 =
        cli({"-p", "sim", "fuses", "program", "--low", "0xE1", "--high", "0xD9", "--ext", "0xFF"});
    EXPECT_EQ(m8.exitCode, 2);
    EXPECT_TRUE(contains(m8.err, "The ATmega8 has no Extended fuse byte (--ext)")) << m8.err;
}

TEST(CliChip, CommandsTheChipDoesNotHaveSendNothing) {
    CliRun cli;
    const std::string trace = cli.folder().file("trace.txt");
    const auto refused = [&](std::vector<std::string> command) {
        std::vector<std::string> arguments = {"-p", "sim", "--sim-trace", trace};
        arguments.insert(arguments.end(), command.begin(), command.end());
        const auto result = cli(arguments);
        EXPECT_EQ(result.exitCode, 1) << command[1];
        EXPECT_EQ(ScratchFolder::read(trace), "") << command[1];
        return result;
    };
    auto result = refused({"-d", "AT25256", "erase"});
    EXPECT_EQ(result.err, "message: The AT25256 has no chip erase: nothing was sent\n");
    result = refused({"-d", "AT89S52", "calibration"});
    EXPECT_EQ(result.err, "message: The AT89S52 has no calibration bytes: nothing was sent\n");
    result = refused({"-d", "AT45DB041B", "fuses", "read"});
    EXPECT_EQ(result.err, "message: The AT45DB041B has no lock or fuse bits: nothing was sent\n");
    result = refused({"-d", "AT25256", "read-flash", cli.folder().file("out.bin")});
    EXPECT_TRUE(contains(result.out, "The AT25256 has no Flash memory: nothing was sent\n"))
        << result.out;
}

TEST(CliUpdateFirmware, UploadsTheImageNamedByTheEnvironment) {
#ifdef _WIN32
    GTEST_SKIP() << "the image named is /dev/zero, which Windows does not have";
#else
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

    // A device has no size to check and never ends.
    result = run("/dev/zero", {"-y", "update-firmware"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "message: /dev/zero is not a regular file: it is not loaded\n");
    EXPECT_EQ(ScratchFolder::read(trace), "");
#endif
}

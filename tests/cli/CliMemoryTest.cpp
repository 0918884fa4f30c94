#include <filesystem>
#include <gtest/gtest.h>

#include "cli/CliTesting.h"

using zavuv::testing::CliRun;
using zavuv::testing::ScratchFolder;

namespace {

std::string imageOf(std::size_t count, unsigned seed) {
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>((i * 13 + seed) % 251);
    return bytes;
}

}  // namespace

TEST(CliMemory, ProgramVerifyReadRoundTrip) {
    CliRun cli;
    const std::string state = cli.folder().file("chip");
    const std::string image = imageOf(3000, 1);
    const std::string file = cli.folder().write("image.bin", image);
    const std::vector<std::string> board{"-p", "sim", "-d", "ATmega16", "--sim-state", state};
    auto with = [&](std::vector<std::string> command) {
        std::vector<std::string> arguments = board;
        arguments.insert(arguments.end(), command.begin(), command.end());
        return cli(arguments);
    };

    auto result = with({"program-flash", "--no-verify", file});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.ends_with("Flash program: Done (3000 bytes programmed)\n"))
        << result.out;
    EXPECT_EQ(ScratchFolder::read(state + "/flash.bin").substr(0, 3000), image);

    result = with({"verify-flash", file});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.ends_with("Flash verify: OK (3000 bytes verified)\n")) << result.out;

    const std::string out = cli.folder().file("read.bin");
    result = with({"read-flash", out});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ScratchFolder::read(out), ScratchFolder::read(state + "/flash.bin"));
    EXPECT_NE(result.out.find("Flash length: 16384 (0x4000) bytes"), std::string::npos);

    // Programmed without an erase, the cells keep the bits of the old image:
    // the verify that follows the programming says so.
    const std::string other = cli.folder().write("other.bin", imageOf(3000, 2));
    result = with({"program-flash", other});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find("Flash program: Done (3000 bytes programmed)\nVerifying Flash"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("Flash verify: ERROR at byte"), std::string::npos) << result.out;
    EXPECT_EQ(with({"blank-check"}).exitCode, 1);

    result = with({"program-flash", "-e", other});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_TRUE(result.out.starts_with("Erasing device\n")) << result.out;
    EXPECT_TRUE(result.out.ends_with("Flash verify: OK (3000 bytes verified)\n")) << result.out;
}

// Another chip in the socket: program, erase and read ask first, naming both
// signatures; No leaves the chip and the output file untouched, -F skips the check.
TEST(CliMemory, SignatureCheckedBeforeTheChipIsTouched) {
    CliRun cli;
    const std::string state = cli.folder().file("chip");
    const std::string image = cli.folder().write("image.bin", imageOf(300, 3));
    const std::vector<std::string> board{"-p",         "sim",      "-d",          "ATmega8",
                                         "--sim-chip", "ATmega16", "--sim-state", state};
    auto with = [&](std::vector<std::string> command) {
        std::vector<std::string> arguments = board;
        arguments.insert(arguments.end(), command.begin(), command.end());
        return cli(arguments);
    };
    const std::string question =
        "question: Device signature does not match your selection or device is locked. Do you "
        "still want to continue?\n\nThe chip's signature is 1E 94 03; ATmega8 has 1E 93 07.\n"
        "answer: no\n";

    auto result = with({"program-flash", "-F", "--no-verify", image});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::string programmed = ScratchFolder::read(state + "/flash.bin");

    result = with({"program-flash", "-e", image});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, question);
    EXPECT_TRUE(result.out.ends_with("Erase operation terminated\n")) << result.out;
    EXPECT_EQ(ScratchFolder::read(state + "/flash.bin"), programmed);

    const std::string out = cli.folder().file("read.bin");
    result = with({"read-flash", out});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, question);
    EXPECT_FALSE(std::filesystem::exists(out));
    result = with({"read-flash", "--force", out});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    // What the ATmega8's size covers of the ATmega16 in the socket.
    EXPECT_TRUE(ScratchFolder::read(out) == programmed.substr(0, 8192));
}

TEST(CliMemory, EepromFromTheProjectsFile) {
    CliRun cli;
    const std::string image = imageOf(100, 5);
    const std::string eep = cli.folder().write("data.bin", image);
    const std::string project = cli.folder().write(
        "job.zavuv", "[Files]\nFlash=[Unspecified]\nEeprom=" + eep + "\n[Device]\nDeviceNo=12\n");
    const std::string state = cli.folder().file("chip");
    auto result = cli({"-p", "sim", "-P", project, "--sim-state", state, "program-eeprom"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ScratchFolder::read(state + "/eeprom.bin").substr(0, 100), image);
    result = cli({"-p", "sim", "-P", project, "--sim-state", state, "verify-eeprom"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::string out = cli.folder().file("eeprom.hex");
    result = cli({"-p", "sim", "-P", project, "--sim-state", state, "read-eeprom", out});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(ScratchFolder::read(out).starts_with(":10000000"));
}

TEST(CliMemory, ExitCodes) {
    CliRun cli;
    // Nothing to program, a file that cannot be read, an unwritable output.
    auto result = cli({"-p", "sim", "program-flash"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "message: No Flash file selected\n");
    EXPECT_EQ(cli({"-p", "sim", "verify-eeprom", cli.folder().file("missing.bin")}).exitCode, 2);
    EXPECT_EQ(cli({"-p", "sim", "read-flash"}).exitCode, 2);
    EXPECT_EQ(cli({"-p", "sim", "read-flash", cli.folder().file("no/such/dir/out.bin")}).exitCode,
              2);
    // A failed read writes no file.
    const std::string out = cli.folder().file("out.bin");
    EXPECT_EQ(cli({"-p", "sim", "--sim-fault", "silent-after=20", "read-flash", out}).exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(out));
    // Polling failure and no board at all.
    const std::string file = cli.folder().write("image.bin", imageOf(64, 3));
    EXPECT_EQ(
        cli({"-p", "sim", "-d", "AT89S8252", "--sim-fault", "polling-fail", "program-flash", file})
            .exitCode,
        1);
    result = cli({"program-flash", file});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "message: No board specified\n");
    EXPECT_EQ(cli({"-p", "sim", "blank-check"}).exitCode, 0);
}

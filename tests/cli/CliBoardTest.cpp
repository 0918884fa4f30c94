#include <chrono>
#include <csignal>
#include <thread>

#include <gtest/gtest.h>

#include "cli/CliTesting.h"
#include "support/BoardSimProcess.h"

using zavuv::testing::BoardSimProcess;
using zavuv::testing::CliRun;

TEST(CliInfo, ReadsTheSimulatedBoard) {
    const auto result = CliRun()({"-p", "sim", "info"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "Reading firmware version...\n"
                          "ZAVUV ISP programmer (simulated) (Serial number 5A 56 53 00 01)\n");
    EXPECT_EQ(result.err, "message: ZAVUV ISP programmer (simulated)\nVoltage: 3.3 ... 5.0 V\n"
                          "Serial number: 5A 56 53 00 01\n");
}

TEST(CliInfo, ReadsZavuvBoardsimThroughAMappedComSlot) {
    CliRun cli;
    BoardSimProcess board(ZAVUV_BOARDSIM_PATH, {"--sim-chip", "ATmega16"});
    ASSERT_FALSE(board.devicePath().empty());
    cli.folder().write("profile.ini", "[Ports]\nCOM4=" + board.devicePath() + "\n");
    const auto result = cli({"-p", "4", "info"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("(Serial number 5A 56 53 00 01)"), std::string::npos);
    // The same board by its path for this run only.
    EXPECT_EQ(CliRun()({"-p", board.devicePath(), "info"}).exitCode, 0);
}

TEST(CliInfo, BoardFaultsEndWithTheirMessages) {
    CliRun cli;
    auto result = cli({"-p", "sim", "--sim-fault", "no-firmware", "info"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("Programmer has no firmware and should be updated."),
              std::string::npos);
    result = cli({"-p", "sim", "--sim-fault", "version=108", "info"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("FW version: 1.08"), std::string::npos) << result.err;
    result = cli({"-p", "sim", "--sim-fault", "silent-after=0", "info"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "message: Connection error\n");
    result = cli({"-p", cli.folder().file("no-such-port"), "info"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
              "message: Connection error: cannot open COM port. Check for other applications "
              "using it.\n");
    result = cli({"info"});  // no port in the profile
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "message: No board specified\n");
}

TEST(CliInfo, BadSimulatorOptionsAreUsageErrors) {
    const auto result = CliRun()({"-p", "sim", "--sim-fault", "melt", "info"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("melt"), std::string::npos);
    EXPECT_EQ(CliRun()({"-d", "ATmega9000", "-p", "sim", "info"}).exitCode, 2);
}

TEST(CliSearch, FindsTheBoardAndReportsTheList) {
    CliRun cli;
    BoardSimProcess board(ZAVUV_BOARDSIM_PATH, {});
    cli.folder().write("profile.ini", "[Ports]\nCOM1=" + cli.folder().file("absent") +
                                          "\nCOM2=" + board.devicePath() +
                                          "\nCOM3=" + cli.folder().file("absent") +
                                          "\nCOM4=" + cli.folder().file("absent") +
                                          "\nCOM5=sim\nCOM6=" + cli.folder().file("absent") +
                                          "\nCOM7=" + cli.folder().file("absent") +
                                          "\nCOM8=" + cli.folder().file("absent") + "\n");
    const auto result = cli({"search"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.ends_with("ZAVUV ISP programmer (simulated) on COM2,  "
                                     "ZAVUV ISP programmer (simulated) on COM5\n"))
        << result.out;
}

// The whole job through a real serial device: zavuv-boardsim on a pseudo-terminal
// behind a COM slot, through the termios back end.
TEST(CliBoardSim, ProgramsVerifiesAndReadsTheFusesThroughAPseudoTerminal) {
    CliRun cli;
    BoardSimProcess board(ZAVUV_BOARDSIM_PATH, {"--sim-chip", "ATmega16"});
    ASSERT_FALSE(board.devicePath().empty());
    cli.folder().write("profile.ini", "[Ports]\nCOM2=" + board.devicePath() + "\n");
    const std::string image = cli.folder().write("image.bin", std::string(300, '\x5A'));
    auto result = cli({"-p", "2", "-d", "ATmega16", "program-flash", image});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("Flash program: Done (300 bytes programmed)\n"), std::string::npos);
    result = cli({"-p", "2", "-d", "ATmega16", "verify-flash", image});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("Flash verify: OK (300 bytes verified)\n"), std::string::npos);
    // A different image is a mismatch, exit 1.
    const std::string other = cli.folder().write("other.bin", std::string(300, '\x5B'));
    EXPECT_EQ(cli({"-p", "2", "-d", "ATmega16", "verify-flash", other}).exitCode, 1);
    result = cli({"-p", "2", "-d", "ATmega16", "fuses", "read"});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("\nSPIEN: programmed\n"), std::string::npos);
    EXPECT_NE(result.out.find("\nCKSEL0: unprogrammed\n"), std::string::npos);
}

// A killed run (`timeout`, a closed terminal) still ends its board session: the
// board is back at 19200 baud and the chip released, so the next command works.
TEST(CliBoardSim, SigtermMidReadEndsTheSessionAndTheNextCommandWorks) {
    CliRun cli;
    BoardSimProcess board(ZAVUV_BOARDSIM_PATH, {"--sim-chip", "ATmega128", "--line-rate"});
    ASSERT_FALSE(board.devicePath().empty());
    const std::vector<std::string> chip{"-p", board.devicePath(), "-b", "1", "-d", "ATmega128"};
    auto readFlash = chip;
    readFlash.insert(readFlash.end(), {"read-flash", cli.folder().file("flash.bin")});
    // 128 KB at 115200 baud take about 12 s; the signals come well inside that.
    const auto started = std::chrono::steady_clock::now();
    const zavuv::testing::StartedProgram reading = cli.start(readFlash);
    std::this_thread::sleep_for(std::chrono::seconds(2));
    ASSERT_EQ(kill(reading.pid, SIGTERM), 0);
    // A second signal while the session ends is ignored.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    kill(reading.pid, SIGHUP);
    const auto result = zavuv::testing::collectProgram(reading);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(8));
    EXPECT_EQ(result.exitCode, 1) << result.out << result.err;
    EXPECT_NE(result.out.find("Flash read cancelled"), std::string::npos) << result.out;

    auto signature = chip;
    signature.push_back("signature");
    const auto next = cli(signature);
    EXPECT_EQ(next.exitCode, 0) << next.out << next.err;
}

// A number is a COM port, never a device path: outside 1..12 it is refused.
TEST(CliInfo, PortNumbersOutsideTheSlotsAreUsageErrors) {
    CliRun cli;
    for (const std::string port : {"0", "13", "-1"}) {
        const auto result = cli({"-p", port, "info"});
        EXPECT_EQ(result.exitCode, 2) << port;
        EXPECT_EQ(result.err, "message: COM port " + port +
                                  " does not exist: the ports are numbered 1 to 12\n");
    }
}

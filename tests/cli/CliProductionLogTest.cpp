#include <chrono>
#include <csignal>
#include <thread>

#include <gtest/gtest.h>

#include "cli/CliTesting.h"
#include "support/TextLines.h"

using zavuv::testing::CliRun;
using zavuv::testing::collectProgram;
using zavuv::testing::runProgram;
using zavuv::testing::ScratchFolder;

using zavuv::testing::linesOf;
namespace {

// A serial-numbered ATmega8 job; the counter's low byte at 3 starts at 9.
struct SerialJob {
    explicit SerialJob(const std::string& production = "") {
        std::string image(64, '\x11');
        image[0] = image[1] = image[2] = 0;
        image[3] = 0x09;
        flash = cli.folder().write("serial.bin", image);
        project = cli.folder().write(
            "job.kb2", "[Files]\nFlash=" + flash +
                           "\n[AutoProgram]\nAutoErase=1\nAutoFlashProgram=1\nAutoFlashVerify=1\n"
                           "AutoIncrementFlash=1\nAutoIncAddressFlash=3\n[Device]\nDeviceNo=12\n" +
                           production);
    }
    CliRun cli;
    std::string flash;
    std::string project;
};

// The programming sessions on a wire trace: each begins with a reset strobe.
[[maybe_unused]] int resetStrobes(const std::string& trace) {
    int strobes = 0;
    for (const std::string& line : linesOf(trace))
        strobes += line.ends_with("> 51") || line.ends_with("> 2A");
    return strobes;
}

}  // namespace

TEST(CliProductionLog, OneLinePerRunWithTheNumberProgrammed) {
    SerialJob job("[Production]\nLog=units.csv\n");  // beside the project
    const std::string state = job.cli.folder().file("chip");
    for (int run = 0; run < 2; ++run) {
        const auto result =
            job.cli({"-p", "sim", "--sim-state", state, "-P", job.project, "autoprogram"});
        ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
        EXPECT_NE(
            result.out.find("ZAVUV ISP programmer (simulated) (Serial number 5A 56 53 00 01)"),
            std::string::npos)
            << result.out;
    }
    const auto lines = linesOf(ScratchFolder::read(job.cli.folder().file("units.csv")), "\r\n");
    ASSERT_EQ(lines.size(), 3u);
    // UTC time, ISO 8601: 2026-12-07T21:35:49Z
    EXPECT_EQ(lines[1].find(",sim,5A 56 53 00 01,ATmega8,1E 93 07,00000009,0x0405,,OK,,"), 20u)
        << lines[1];
    EXPECT_EQ(lines[1][10], 'T');
    EXPECT_EQ(lines[1][19], 'Z');
    EXPECT_NE(lines[2].find(",0000000A,0x0406,,OK,,"), std::string::npos) << lines[2];
}

// Nothing is touched when the log cannot take a line: not the board, not the
// serial number.
TEST(CliProductionLog, AnUnwritableLogStopsTheRunBeforeTheChip) {
#ifdef _WIN32
    GTEST_SKIP() << "the system's reason is in its own words on Windows";
#else
    SerialJob job;
    const std::string log = job.cli.folder().file("missing/units.csv");
    const std::string trace = job.cli.folder().file("trace.txt");
    const auto result = job.cli(
        {"-p", "sim", "--sim-trace", trace, "--log", log, "-P", job.project, "autoprogram"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err,
              "message: Cannot write the production log " + log + ": No such file or directory\n");
    EXPECT_EQ(ScratchFolder::read(trace), "");
    EXPECT_EQ(static_cast<unsigned char>(ScratchFolder::read(job.flash)[3]), 9);
#endif
}

// --repeat: unit after unit, the next after Enter, q ends; a summary.
TEST(CliProductionLog, RepeatProgramsUnitAfterUnitUntilQ) {
#ifdef _WIN32
    GTEST_SKIP() << "the operator's keys come through a POSIX shell pipe";
#else
    SerialJob job;
    const std::string log = job.cli.folder().file("units.csv");
    const std::string command = std::string("printf '\\n\\nq\\n' | ") + ZAVUV_CLI_PATH +
                                " -p sim -P " + job.project + " --log " + log +
                                " autoprogram --repeat";
    const auto result = runProgram("/bin/sh", {"-c", command},
                                   {"ZAVUV_PROFILE=" + job.cli.folder().file("profile.ini")});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    for (const char* unit : {"Unit 1\n", "Unit 2\n", "Unit 3\n"})
        EXPECT_NE(result.out.find(unit), std::string::npos) << unit;
    EXPECT_EQ(result.out.find("Unit 4"), std::string::npos);
    EXPECT_TRUE(result.out.ends_with("REPEAT: 3 OK, 0 failed\n")) << result.out;
    const auto lines = linesOf(ScratchFolder::read(log), "\r\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[3].find(",0000000B,"), std::string::npos) << lines[3];
    EXPECT_EQ(static_cast<unsigned char>(ScratchFolder::read(job.flash)[3]), 12);
#endif
}

// --repeat=auto: the chip programmed is taken out, the next one goes in and is
// programmed in turn; SIGTERM ends the wait for the third.
TEST(CliProductionLog, RepeatAutoProgramsEachChipInsertedUntilStopped) {
#ifdef _WIN32
    GTEST_SKIP() << "the run is ended by SIGTERM, which Windows does not have";
#else
    SerialJob job;
    // The chip is swapped right after the first unit: after as many sessions as
    // a single run takes. That run uses up number 9.
    const std::string trace = job.cli.folder().file("trace.txt");
    ASSERT_EQ(
        job.cli({"-p", "sim", "--sim-trace", trace, "-P", job.project, "autoprogram"}).exitCode, 0);
    const std::string swap =
        "swap-chip-after=" + std::to_string(resetStrobes(ScratchFolder::read(trace)));

    const std::string log = job.cli.folder().file("units.csv");
    const std::string state = job.cli.folder().file("chip");
    const auto started =
        job.cli.start({"-p", "sim", "--sim-state", state, "--sim-fault", swap, "--log", log, "-P",
                       job.project, "autoprogram", "--repeat=auto"});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (linesOf(ScratchFolder::read(log), "\r\n").size() < 3 &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ::kill(started.pid, SIGTERM);
    const auto result = collectProgram(started);

    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("Unit 2\n"), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("Unit 3"), std::string::npos) << result.out;
    EXPECT_TRUE(result.out.ends_with("REPEAT: 2 OK, 0 failed\n")) << result.out;
    const auto lines = linesOf(ScratchFolder::read(log), "\r\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[1].find(",1E 93 07,0000000A,"), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find(",1E 93 07,0000000B,"), std::string::npos) << lines[2];
    // The second chip stays in the socket: the state holds its number.
    EXPECT_EQ(static_cast<unsigned char>(ScratchFolder::read(state + "/flash.bin")[3]), 0x0B);
#endif
}

#include <gtest/gtest.h>

#include "cli/CliTesting.h"

using zavuv::testing::CliRun;

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

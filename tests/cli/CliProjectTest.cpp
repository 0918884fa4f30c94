#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliTesting.h"

using zavuv::testing::CliRun;

TEST(CliProjectShow, ListsEveryKeyInFileOrder) {
    CliRun cli;
    const auto& f = cli.folder();
    const std::string hex = f.write("a.hex", ":0100000011EE\n:00000001FF\n");
    const std::string project = f.write(
        "job.kb2", "[Files]\nFlash=" + hex + "\n[AutoProgram]\nFuse3=1\n[Device]\nDeviceNo=29\n");
    const auto result = cli({"project", "show", project});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::istringstream in(result.out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u + 3 + 12 + 1 + 32 + 16 + 2 + 2 + 2 + 1 + 8);
    EXPECT_EQ(lines[0], "Files/Flash=" + hex);
    EXPECT_EQ(lines[1], "Files/Eeprom=[Unspecified]");
    EXPECT_EQ(lines[18], "AutoProgram/LockMode=0");
    EXPECT_EQ(lines[22], "AutoProgram/Fuse3=1");
    EXPECT_EQ(lines[67], "AutoProgram/FuseLayout=10");  // the ATmega128's
    EXPECT_EQ(lines[68], "AutoProgram/AllowLockout=0");
    EXPECT_EQ(lines[69], "Settings/ResetStrobeLength=400");
    EXPECT_EQ(lines[73], "Device/DeviceNo=29");
    EXPECT_EQ(lines.back(), "Delays/DelayPageValue2=0");
}

TEST(CliProjectShow, NotAProjectIsAFileError) {
    CliRun cli;
    const std::string other = cli.folder().write("notes.txt", "hello\n");
    const auto result = cli({"project", "show", other});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "message: Error reading project file '" + other + "'\n");
    EXPECT_EQ(result.out, "");
}

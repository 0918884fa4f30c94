#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "cli/CliTesting.h"
#include "support/TextLines.h"

using zavuv::testing::CliRun;
using zavuv::testing::linesOf;

namespace {

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string f; std::getline(in, f, '\t');)
        fields.push_back(f);
    return fields;
}

}  // namespace

TEST(CliDevices, ListsEveryRecordWithItsSeventeenFields) {
    const auto result = CliRun()({"devices"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto lines = linesOf(result.out);
    ASSERT_EQ(lines.size(), 75u);
    EXPECT_EQ(fieldsOf(lines[0])[0], "index");
    for (const auto& line : lines)
        EXPECT_EQ(fieldsOf(line).size(), 18u) << line;
    EXPECT_EQ(
        lines[13],
        "12\t6\tATmega8\t32\t8192\t512\t1E 93 07\t1E 93 07\t0\tDC\tDC\tDC\tDC\t15\t2\t12\t0\t4");
    EXPECT_EQ(lines[30], "29\t6\tATmega128\t128\t131072\t4096\t1E 97 02\t1E 97 "
                         "02\t0\tDC\tDC\tC0\tC0\t15\t2\t10\t0\t4");
    EXPECT_EQ(lines[55], "54\t1\tAT45DB642D\t1056\t8650752\t3\t3C 3C 00\t00 00 "
                         "00\t0\tFF\tFF\tFF\tFF\t40\t0\t0\t0\t0");
    // The added chips follow the first 55.
    EXPECT_EQ(lines[60], "59\t6\tATmega328P\t64\t32768\t1024\t1E 95 0F\t1E 95 "
                         "0F\t0\tDC\tDC\tDC\tDC\t15\t2\t51\t0\t1");
    EXPECT_EQ(fieldsOf(lines[74])[2], "ATtiny861");
}

TEST(CliDevices, AliasesWithTheirTableNames) {
    const auto result = CliRun()({"devices", "--aliases"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto lines = linesOf(result.out);
    ASSERT_EQ(lines.size(), 195u);
    EXPECT_EQ(lines[0], "alias\tname");
    EXPECT_EQ(lines[1], "t13\tATtiny13");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "ATmega2560\tATmega256x"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "m328p\tATmega328P"), lines.end());
}

TEST(CliUsage, BadCommandLinesExitWithTwo) {
    CliRun cli;
    EXPECT_EQ(cli({}).exitCode, 2);
    EXPECT_EQ(cli({"no-such-command"}).exitCode, 2);
    EXPECT_EQ(cli({"--lang", "de", "devices"}).exitCode, 2);
    EXPECT_EQ(cli({"-y", "-n", "devices"}).exitCode, 2);
    EXPECT_EQ(cli({"convert", "only-one"}).exitCode, 2);
    EXPECT_EQ(cli({"--help"}).exitCode, 0);
}

// Output that cannot be written is a failure with a message, not exit 0.
TEST(CliDevices, AFullStandardOutputIsAnError) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no /dev/full to fill standard output with";
#else
    const int saved = ::dup(STDOUT_FILENO);
    const int full = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    ::dup2(full, STDOUT_FILENO);
    zavuv::testing::CliRun cli;
    const int status = std::system(("ZAVUV_PROFILE=" + cli.folder().file("profile.ini") + " " +
                                    ZAVUV_CLI_PATH + " devices 2>" + cli.folder().file("err.txt"))
                                       .c_str());
    ::dup2(saved, STDOUT_FILENO);
    ::close(full);
    ::close(saved);
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_TRUE(zavuv::testing::ScratchFolder::read(cli.folder().file("err.txt"))
                    .starts_with("message: Cannot write to standard output: "));
#endif
}

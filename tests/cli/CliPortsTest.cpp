#include <filesystem>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <grp.h>
#include <unistd.h>
#endif

#include "cli/CliTesting.h"
#include "support/TextLines.h"

using zavuv::testing::CliRun;
using zavuv::testing::runProgram;

using zavuv::testing::linesOf;
TEST(CliPorts, ListsEveryComSlotWithItsDevice) {
    CliRun cli;
    const std::string present = cli.folder().write("pts-like", "");
    const std::string absent = cli.folder().file("gone");
    cli.folder().write("profile.ini",
                       "[Ports]\nCOM1=" + present + "\nCOM2=sim\nCOM3=" + absent + "\n");
    const auto result = cli({"ports"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto lines = linesOf(result.out);
    ASSERT_GE(lines.size(), 12u);
    EXPECT_EQ(lines[0], "COM1\t" + present + "\tpresent");
    EXPECT_EQ(lines[1], "COM2\tsim\tsimulated board");
    EXPECT_EQ(lines[2], "COM3\t" + absent + "\tnot present");
    EXPECT_EQ(lines[11].substr(0, 5), "COM12");
    // Whatever else the system has comes after the slots, without a slot of its own.
    for (std::size_t i = 12; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].substr(0, 2), "-\t") << lines[i];

    const auto russian = cli({"--lang", "ru", "ports"});
    EXPECT_EQ(linesOf(russian.out)[2], "COM3\t" + absent + "\tне подключено");
}

// A serial device owned by a group the user is not in: the list and a board
// command both say so and name the group, instead of blaming other programs.
TEST(CliPorts, APortWithoutPermissionNamesItsGroup) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows ports have no owning group";
#else
    if (::geteuid() != 0 || ::getgrnam("dialout") == nullptr || ::access("/usr/bin/setpriv", X_OK))
        GTEST_SKIP() << "needs root (to run as another user), setpriv and a dialout group";
    CliRun cli;
    std::filesystem::permissions(cli.folder().path(), std::filesystem::perms::all);
    const std::string device = cli.folder().write("ttyUSB7", "");
    ASSERT_EQ(::chown(device.c_str(), 0, ::getgrnam("dialout")->gr_gid), 0);
    ::chmod(device.c_str(), 0660);
    const std::string profile = cli.folder().write("profile.ini", "[Ports]\nCOM5=" + device + "\n");
    const auto asNobody = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(),
                         {"--reuid=65534", "--regid=65534", "--clear-groups", ZAVUV_CLI_PATH});
        return runProgram("/usr/bin/setpriv", arguments, {"ZAVUV_PROFILE=" + profile});
    };
    const std::string advice = "Permission denied on " + device +
                               ": this user may not open it. On Linux, add the user to the group "
                               "that owns the device (dialout): sudo usermod -aG dialout $USER, "
                               "then log in again.";
    auto result = asNobody({"ports"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(linesOf(result.out)[4], "COM5\t" + device + "\tpresent\t" + advice);

    result = asNobody({"-p", "5", "signature"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "message: " + advice + "\n");
    EXPECT_EQ(result.out, "Reading signature\nConnection error\n");

    result = asNobody({"--lang", "ru", "-p", "5", "signature"});
    EXPECT_NE(result.err.find("Нет доступа к " + device), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("(dialout)"), std::string::npos);
#endif
}

#include "support/LinkFixture.h"

namespace zavuv::link {
namespace {

using ::testing::_;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class VersionCheckTest : public testing::LinkFixture {
protected:
    bool openAndCheck(const OpenOptions& options = {}) {
        return connection.openAndCheckVersion(1, options);
    }
};

TEST_F(VersionCheckTest, ReadsTheVersionOfASynchronisedBoard) {
    line.board(0).reply("+109");
    EXPECT_TRUE(openAndCheck());
    EXPECT_THAT(line.trace(), ElementsAre("0 open COM1 19200", "100 > 25", "100 < 2B", "150 > 40",
                                          "200 < 31 30 39"));
    EXPECT_EQ(connection.state().boardVersion, REQUIRED_FIRMWARE_VERSION);
    EXPECT_TRUE(channel.connected());
    EXPECT_THAT(user.events(), IsEmpty());
}

TEST_F(VersionCheckTest, AStrayByteGetsASecondSyncAndTheRestIsDrained) {
    line.board(0).reply("x+yz").silence().reply("109");
    EXPECT_TRUE(openAndCheck());
    EXPECT_THAT(line.trace(),
                ElementsAre("0 open COM1 19200", "100 > 25", "100 < 78", "250 > 25", "250 < 2B",
                            "250 < 79", "250 < 7A", "3050 < -", "3100 > 40", "3150 < 31 30 39"));
}

TEST_F(VersionCheckTest, ABoardWithoutItsApplicationNeedsAFirmwareUpdate) {
    line.board(0).reply("-");
    EXPECT_FALSE(openAndCheck({.quiet = true}));
    EXPECT_THAT(newMessages(), ElementsAre(::testing::StartsWith("Programmer has no firmware")));
    EXPECT_EQ(user.lastStatus(), "Connection error");

    // Also when the board says so only on the second try.
    markEvents();
    line.board(0).reply("x-").silence();
    EXPECT_FALSE(openAndCheck({.quiet = true}));
    EXPECT_THAT(newMessages(), ElementsAre(::testing::StartsWith("Programmer has no firmware")));
    EXPECT_EQ(line.unreadBytes(), 0u);
}

TEST_F(VersionCheckTest, ASilentBoardIsAConnectionErrorEvenWhenQuiet) {
    line.board(0);
    EXPECT_FALSE(openAndCheck({.quiet = true}));
    expectConnectionErrorReport();
    // No session was opened, so none is ended; the port is closed all the same.
    EXPECT_THAT(line.trace(),
                ElementsAre("0 open COM1 19200", "100 > 25", "2900 < -", "2900 close COM1"));

    line.board(0).reply("x").silence();
    markEvents();
    EXPECT_FALSE(openAndCheck());
    expectConnectionErrorReport();
}

TEST_F(VersionCheckTest, AMissingVersionLeavesAQuietPortOpen) {
    line.board(0).reply("+10");
    connection.state().boardVersion = REQUIRED_FIRMWARE_VERSION;
    EXPECT_FALSE(openAndCheck({.quiet = true}));
    EXPECT_EQ(connection.state().boardVersion, (FirmwareVersion{0, 0, 0}));
    EXPECT_TRUE(channel.connected());
    EXPECT_THAT(user.events(), IsEmpty());

    line.board(0).reply("+1");
    line.clearTrace();
    EXPECT_FALSE(openAndCheck());
    EXPECT_FALSE(channel.connected());
    EXPECT_THAT(line.trace(), ElementsAre("5800 close COM1", "5800 open COM1 19200", "5900 > 25",
                                          "5900 < 2B", "5950 > 40", "8800 < 31", "11600 < -",
                                          "11600 > 1B", "11600 close COM1"));
    expectConnectionErrorReport();
}

TEST_F(VersionCheckTest, APortThatCannotBeOpenedIsReportedUnlessQuiet) {
    line.board(0).busy();
    EXPECT_FALSE(openAndCheck({.quiet = true}));
    EXPECT_THAT(user.events(), IsEmpty());
    EXPECT_FALSE(openAndCheck());
    EXPECT_THAT(user.statuses(), ElementsAre("Connection error"));
    EXPECT_THAT(newMessages(), ElementsAre("Connection error: cannot open COM port. Check for "
                                           "other applications using it."));
    const auto events = user.events();
    EXPECT_EQ(events.back().caption, "Programmer ZAVUV");
    EXPECT_EQ(events.back().icon, base::MessageIcon::Information);
}

TEST_F(VersionCheckTest, OpenOnlyLeavesTheBoardAlone) {
    line.board(0);
    EXPECT_TRUE(openAndCheck({.openOnly = true}));
    EXPECT_THAT(line.trace(), ElementsAre("0 open COM1 19200"));
    EXPECT_EQ(clock.nowMs(), 50);
}

TEST_F(VersionCheckTest, WrongVersionsAreRefusedWithTheirMessages) {
    line.board(0).reply("+108");
    EXPECT_FALSE(openAndCheck());
    EXPECT_THAT(newMessages(), ElementsAre("Version conflict.\nFW version: 1.08\nRequired "
                                           "version 1.09.\nUpdate version and try again."));
    EXPECT_EQ(user.lastStatus(), "Version conflict. You need to update firmware version.");
    EXPECT_TRUE(connection.state().versionConflict);
    EXPECT_FALSE(connection.state().bootLoaderSeen);
    EXPECT_EQ(connection.state().boardVersion, (FirmwareVersion{'1', '0', '8'}));
    // The board is released from its board-level exchange.
    EXPECT_EQ(line.trace()[line.trace().size() - 2], "200 > 1B");
    EXPECT_FALSE(channel.connected());

    for (const char* bootLoader : {"ldr", "ld2"}) {
        markEvents();
        EXPECT_FALSE(
            connection.checkVersion({FirmwareVersion{static_cast<std::uint8_t>(bootLoader[0]),
                                                     static_cast<std::uint8_t>(bootLoader[1]),
                                                     static_cast<std::uint8_t>(bootLoader[2])}},
                                    false));
        EXPECT_TRUE(connection.state().bootLoaderSeen);
        EXPECT_FALSE(connection.state().versionConflict);
        EXPECT_THAT(newMessages(), ElementsAre("Version conflict. Update firmware version with "
                                               "'\\Advanced\\Update firmware version...' "
                                               "command."));
        EXPECT_EQ(user.lastStatus(), "Version conflict. You need to update firmware version.");
    }

    markEvents();
    EXPECT_FALSE(connection.checkVersion({'e', 'r', 'r'}, false));
    EXPECT_THAT(newMessages(), ElementsAre("Internal error while synchronizing with programmer"));
    EXPECT_EQ(user.lastStatus(), "Connection error");
    EXPECT_FALSE(connection.state().bootLoaderSeen);
    EXPECT_FALSE(connection.state().versionConflict);
}

TEST_F(VersionCheckTest, AQuietCheckSetsTheFlagsWithoutWords) {
    EXPECT_FALSE(connection.checkVersion({'1', '1', '0'}, true));
    EXPECT_TRUE(connection.state().versionConflict);
    EXPECT_FALSE(connection.checkVersion({'l', 'd', 'r'}, true));
    EXPECT_TRUE(connection.state().bootLoaderSeen);
    EXPECT_FALSE(connection.state().versionConflict);
    EXPECT_TRUE(connection.checkVersion(REQUIRED_FIRMWARE_VERSION, true));
    EXPECT_FALSE(connection.state().bootLoaderSeen);
    EXPECT_THAT(user.events(), IsEmpty());
}

}  // namespace
}  // namespace zavuv::link

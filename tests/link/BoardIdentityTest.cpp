#include "support/LinkFixture.h"

#include <algorithm>

namespace zavuv::link {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class BoardIdentityTest : public testing::LinkFixture {
protected:
    void SetUp() override { connection.state().selectedPort = 2; }

    // A synchronised board that identifies itself with this text.
    testing::PortScript& boardSaying(std::string_view identity) {
        return line.board(1)
            .reply("+109")
            .reply({static_cast<std::uint8_t>(identity.size())})
            .reply(identity)
            .reply("\r");
    }
};

TEST_F(BoardIdentityTest, ReadsTheIdentityAndSerialNumber) {
    boardSaying("ZAVUV-2").reply({0x01, 0x02, 0x03, 0xAB, 0x05, 0x0D});
    ASSERT_TRUE(connection.readBoardIdentity(false));
    EXPECT_THAT(line.trace(), ElementsAre("0 open COM2 19200", "100 > 25", "100 < 2B", "150 > 40",
                                          "200 < 31 30 39", "200 > 3F", "250 < 07",
                                          "300 < 5A 41 56 55 56 2D 32 0D", "300 > 4E",
                                          "300 < 01 02 03 AB 05 0D", "300 > 1B", "300 close COM2"));
    EXPECT_THAT(user.statuses(), ElementsAre("Reading firmware version...",
                                             "ZAVUV-2 (Serial number 01 02 03 AB 05)"));
    EXPECT_THAT(user.messages(), IsEmpty());
    EXPECT_EQ(connection.state().boardIdentity, "ZAVUV-2");
    EXPECT_EQ(connection.state().serialNumber, (SerialNumber{0x01, 0x02, 0x03, 0xAB, 0x05}));
    EXPECT_EQ(user.busyDepth(), 0);
}

TEST_F(BoardIdentityTest, OnlyAWordFollowedByMoreTextMarksTheBootLoader) {
    boardSaying("Ver bootloader").reply({1, 2, 3, 4, 5, 0x0D});
    EXPECT_TRUE(connection.readBoardIdentity(false));
    EXPECT_EQ(connection.state().boardIdentity, "Ver bootloader");

    for (const char* identity : {"Ver bootloader!", "BootLoader 2", "xBOOTLOADERx"}) {
        markEvents();
        boardSaying(identity);
        EXPECT_FALSE(connection.readBoardIdentity(false)) << identity;
        EXPECT_THAT(newMessages(),
                    ElementsAre(::testing::StartsWith("Programmer has no firmware")));
        EXPECT_THAT(std::vector(line.trace().end() - 2, line.trace().end()),
                    ElementsAre(::testing::EndsWith("> 1B"), ::testing::EndsWith("close COM2")));
    }
}

TEST_F(BoardIdentityTest, InBootLoaderModeTheBoardIsNotSynchronised) {
    line.board(1).reply({16}).reply("Bootloader 1.0 x\r").reply({9, 8, 7, 6, 5, 0x0D});
    ASSERT_TRUE(connection.readBoardIdentity(true));
    EXPECT_THAT(std::vector(line.trace().begin(), line.trace().begin() + 3),
                ElementsAre("0 open COM2 19200", "50 > 3F", "100 < 10"));
    EXPECT_EQ(connection.state().boardIdentity, "Bootloader 1.0 x");
}

TEST_F(BoardIdentityTest, WithoutASelectedPortNothingIsOpened) {
    connection.state().selectedPort = 0;
    EXPECT_FALSE(connection.readBoardIdentity(false));
    EXPECT_THAT(user.statuses(), ElementsAre("Reading firmware version...",
                                             "Select COM port or click 'search board'"));
    EXPECT_THAT(user.messages(), ElementsAre("No board specified"));
    EXPECT_EQ(line.portsMade(), 0);
}

TEST_F(BoardIdentityTest, AMissingOrEmptyIdentityIsAnErrorReadingTheVersion) {
    line.board(1).reply("+109").reply({0});
    EXPECT_FALSE(connection.readBoardIdentity(false));
    EXPECT_THAT(user.messages(), ElementsAre("Error reading version"));
    EXPECT_EQ(user.lastStatus(), "Error reading version");
    EXPECT_FALSE(channel.connected());  // left with an escape: the port is free again

    // Text without its CR: the exchange is left with an escape.
    markEvents();
    line.board(1).reply("+109").reply({3}).reply("abcd");
    EXPECT_FALSE(connection.readBoardIdentity(false));
    EXPECT_THAT(newMessages(), ElementsAre("Error reading version"));
    EXPECT_EQ(connection.state().boardIdentity, "Unknown version");
    EXPECT_FALSE(channel.connected());
}

TEST_F(BoardIdentityTest, SerialNumberProblems) {
    // 'N' cannot be sent: the identity still counts.
    boardSaying("ZAVUV").failWritesOf("4E");
    EXPECT_TRUE(connection.readBoardIdentity(false));
    EXPECT_THAT(user.messages(), ElementsAre("Error reading serial number"));
    EXPECT_EQ(user.lastStatus(), "ZAVUV");
    EXPECT_FALSE(connection.state().serialNumber);

    // A serial number without its CR fails the read.
    markEvents();
    connection.state().selectedPort = 3;
    line.board(2).reply("+109").reply({1}).reply("Z\r").reply({1, 2, 3, 4, 5, 6});
    EXPECT_FALSE(connection.readBoardIdentity(false));
    EXPECT_THAT(newMessages(), ElementsAre("Error reading serial number"));
    EXPECT_THAT(line.trace().back(), ::testing::EndsWith("close COM3"));

    // An escape that does not go out is an incorrect disconnection, after the fact.
    markEvents();
    connection.state().selectedPort = 4;
    line.board(3).reply("+109").reply({1}).reply("Z\r").reply({1, 2, 3, 4, 5, 0x0D});
    line.board(3).failWritesOf("1B");
    EXPECT_TRUE(connection.readBoardIdentity(false));
    EXPECT_THAT(newMessages(), ElementsAre("Warning: incorrect disconnection."));
    EXPECT_EQ(user.lastStatus(), "Z (Serial number 01 02 03 04 05)");
}

class BoardSearchTest : public testing::LinkFixture {};

TEST_F(BoardSearchTest, FindsEveryBoardAndSelectsTheFirst) {
    line.board(0).busy();
    line.board(1).reply("+109").reply({6}).reply("ZAVUV2\r");
    line.board(2);  // a device that does not answer
    line.board(4).reply("+109").reply({0});
    line.board(8).reply("+109");  // COM9 is not searched
    connection.searchBoard();

    EXPECT_EQ(connection.state().selectedPort, 2);
    EXPECT_EQ(user.lastStatus(), "ZAVUV2 on COM2,  Unknown version on COM5");
    // The silent device is reported even in a quiet search.
    EXPECT_THAT(user.messages(), ElementsAre("Connection error"));
    const auto statuses = user.statuses();
    EXPECT_EQ(statuses.front(), "Searching for programmer...");
    EXPECT_EQ(std::count_if(statuses.begin(), statuses.end(),
                            [](const std::string& s) {
                                return s.starts_with("Searching for programmer on COM");
                            }),
              8);
    EXPECT_FALSE(channel.connected());
    EXPECT_EQ(user.busyDepth(), 0);
    EXPECT_EQ(line.unreadBytes(), 4u);  // only COM9's reply
}

TEST_F(BoardSearchTest, NoBoardAtAll) {
    connection.state().selectedPort = 3;
    connection.searchBoard();
    EXPECT_EQ(connection.state().selectedPort, 0);
    EXPECT_EQ(user.lastStatus(), "Programmer was not found");
    EXPECT_THAT(user.messages(), IsEmpty());
}

}  // namespace
}  // namespace zavuv::link

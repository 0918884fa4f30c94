#include "link/SerialChannel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/ScriptedLine.h"

namespace zavuv::link {
namespace {

using ::testing::ElementsAre;
using testing::FakeClock;
using testing::ScriptedLine;

class SerialChannelTest : public ::testing::Test {
protected:
    FakeClock clock;
    ScriptedLine line{clock};
    SerialChannel channel{line.factory()};
};

TEST_F(SerialChannelTest, ClosedChannelFailsAtOnceWithoutTouchingAPort) {
    EXPECT_FALSE(channel.connected());
    EXPECT_EQ(channel.portIndex(), -1);
    EXPECT_FALSE(channel.sendByte(0x25));
    EXPECT_FALSE(channel.sendBlock(std::vector<std::uint8_t>{1, 2}));
    EXPECT_FALSE(channel.receive(3));
    EXPECT_EQ(channel.receiveByte(), -1);
    EXPECT_TRUE(channel.close());
    EXPECT_EQ(line.portsMade(), 0);
    EXPECT_EQ(clock.nowMs(), 0);
}

TEST_F(SerialChannelTest, OpenClosesTheOpenPortFirstAlsoWhenTheNewOpenFails) {
    line.board(0);
    line.board(2).busy();
    ASSERT_TRUE(channel.open(0, 19200));
    EXPECT_TRUE(channel.connected());

    EXPECT_FALSE(channel.open(2, 115200));
    EXPECT_FALSE(channel.connected());
    EXPECT_EQ(channel.portIndex(), 2);
    EXPECT_EQ(channel.baudRate(), 115200);

    EXPECT_FALSE(channel.open(5, 19200));  // no such port
    EXPECT_THAT(line.trace(),
                ElementsAre("0 open COM1 19200", "0 close COM1", "0 open COM3 refused"));
}

TEST_F(SerialChannelTest, ComTenAndAboveAreTheirOwnPorts) {
    line.board(11);
    ASSERT_TRUE(channel.open(11, 19200));
    EXPECT_THAT(line.trace(), ElementsAre("0 open COM12 19200"));
}

TEST_F(SerialChannelTest, EveryWriteFollowsADrainAndAFailedWriteIsRepeatedOnce) {
    line.board(0).failWrites(1);
    ASSERT_TRUE(channel.open(0, 19200));
    EXPECT_TRUE(channel.sendByte(0x25));
    EXPECT_TRUE(channel.sendBlock(std::vector<std::uint8_t>{0x23, 0x00, 0x82, 0x01}));
    EXPECT_EQ(line.undrainedWrites(), 0);

    line.board(0).failWrites(2);
    EXPECT_FALSE(channel.sendByte(0x40));
    EXPECT_TRUE(channel.connected());  // a caller that gives up closes it
    EXPECT_THAT(line.trace(), ElementsAre("0 open COM1 19200", "0 > 25 (failed)", "0 > 25",
                                          "0 > 23 00 82 01", "0 > 40 (failed)", "0 > 40 (failed)"));
}

TEST_F(SerialChannelTest, ATricklingReplyIsReceivedWholeAcrossAttempts) {
    line.board(0).reply("abc").gap(3000).reply("defghij");
    ASSERT_TRUE(channel.open(0, 19200));
    const auto reply = channel.receive(10);
    ASSERT_TRUE(reply);
    EXPECT_EQ(std::string(reply->begin(), reply->end()), "abcdefghij");
    // The first attempt waits its full 2800 ms with three bytes, the second
    // gets the rest 200 ms later.
    EXPECT_THAT(line.trace(),
                ElementsAre("0 open COM1 19200", "2800 < 61 62 63", "3000 < 64 65 66 67 68 69 6A"));
}

TEST_F(SerialChannelTest, OneSilentAttemptDropsTheReply) {
    line.board(0).reply("abc").gap(6000).reply("defghij");
    ASSERT_TRUE(channel.open(0, 19200));
    EXPECT_FALSE(channel.receive(10));
    EXPECT_EQ(clock.nowMs(), 5600);
    EXPECT_EQ(channel.receiveByte(), 'd');  // the line goes on; the reply is lost
}

TEST_F(SerialChannelTest, ReceiveByteIsOneAttempt) {
    line.board(0).reply({0x0D}).silence().reply({0x2B});
    ASSERT_TRUE(channel.open(0, 19200));
    EXPECT_EQ(channel.receiveByte(), 0x0D);
    EXPECT_EQ(channel.receiveByte(), -1);
    EXPECT_EQ(clock.nowMs(), 2800);
    EXPECT_EQ(channel.receiveByte(), 0x2B);
}

TEST_F(SerialChannelTest, AReceiveLargerThanTheBufferIsRefused) {
    line.board(0).reply(std::string(40000, 'x'));
    ASSERT_TRUE(channel.open(0, 19200));
    EXPECT_FALSE(channel.receive(SerialChannel::kRxBufferSize + 1));
    EXPECT_FALSE(channel.receive(0));
    EXPECT_TRUE(channel.receive(SerialChannel::kRxBufferSize));
}

}  // namespace
}  // namespace zavuv::link

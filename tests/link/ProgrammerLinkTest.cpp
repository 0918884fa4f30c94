#include "link/ProgrammerLink.h"

#include <atomic>
#include <chrono>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/SystemClock.h"
#include "devices/DeviceTable.h"
#include "support/ScriptedLine.h"

namespace zavuv::link {
namespace {

using devices::DeviceTable;
using ::testing::ElementsAre;
using testing::FakeClock;
using testing::ScriptedLine;

class ProgrammerLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        line.board(0);
        ASSERT_TRUE(channel.open(0, 19200));
        line.clearTrace();
    }

    FakeClock clock;
    ScriptedLine line{clock};
    SerialChannel channel{line.factory()};
    ProgrammerLink link{channel, clock};
};

TEST_F(ProgrammerLinkTest, EachCommandTravelsAsItsFramingSays) {
    EXPECT_TRUE(link.send(BoardCommand::CMD_SPI4, {0xAC, 0x53, 0x00, 0x00}));
    EXPECT_TRUE(link.send(BoardCommand::CMD_SET_MODE, {0x01, 0x82, 0x01}));
    EXPECT_TRUE(link.send(BoardCommand::CMD_SET_PARAM, {0xDC}));
    EXPECT_TRUE(link.send(BoardCommand::CMD_SELECT_DEVICE, {0x02}));
    EXPECT_TRUE(link.send(BoardCommand::CMD_READ_BLOCK, {0x40}));
    EXPECT_TRUE(link.send(BoardCommand::CMD_WRITE_EEPROM_BLOCK, {0x11, 0x22, 0x33}));
    EXPECT_THAT(line.trace(),
                ElementsAre("0 > 34 AC 53 00 00", "0 > 23 01 82 01", "0 > 57 DC", "0 > 26",
                            "0 > 02", "0 > 7D", "0 > 40", "0 > 3E", "0 > 03", "0 > 11 22 33"));
    // A write block outside 1..64 bytes cannot be framed.
    EXPECT_FALSE(link.send(BoardCommand::CMD_WRITE_BLOCK, std::vector<std::uint8_t>(65, 0xFF)));
}

TEST_F(ProgrammerLinkTest, AcknowledgementMustBeCarriageReturn) {
    line.board(0).reply({0x0D, 0x1B}).silence();
    EXPECT_TRUE(link.acknowledged(BoardCommand::CMD_AT45_SELECT));
    EXPECT_FALSE(link.acknowledged(BoardCommand::CMD_AT45_SELECT));
    EXPECT_FALSE(link.acknowledged(BoardCommand::CMD_AT45_SELECT));
}

TEST_F(ProgrammerLinkTest, EndSessionReleasesTheTargetAndReturnsTheBoardTo19200) {
    link.setSessionMode({.sck = 0xFF, .polling = true});
    line.board(0).reply("\r\r");
    EXPECT_TRUE(link.endSession());
    EXPECT_FALSE(channel.connected());
    EXPECT_THAT(line.trace(), ElementsAre("150 > 2D", "150 < 0D", "300 > 23 00 FF 01", "300 < 0D",
                                          "300 close COM1"));
}

TEST_F(ProgrammerLinkTest, EndSessionFailuresStillClose) {
    // A wrong answer to '-' stops before the mode packet.
    line.board(0).reply("x");
    EXPECT_FALSE(link.endSession());
    EXPECT_FALSE(channel.connected());
    EXPECT_THAT(line.trace(), ElementsAre("150 > 2D", "150 < 78", "150 close COM1"));

    // No answer to the mode packet.
    ASSERT_TRUE(channel.open(0, 19200));
    line.board(0).reply("\r");
    EXPECT_FALSE(link.endSession());
    EXPECT_FALSE(channel.connected());

    // A closed channel: nothing is sent and no reply awaited.
    line.clearTrace();
    const auto before = clock.nowMs();
    EXPECT_FALSE(link.endSession());
    EXPECT_EQ(clock.nowMs() - before, 150);
    EXPECT_TRUE(line.trace().empty());
}

TEST_F(ProgrammerLinkTest, EscapeAndCloseReportsWhetherTheEscapeWentOut) {
    EXPECT_TRUE(link.escapeAndClose());
    EXPECT_FALSE(channel.connected());
    EXPECT_THAT(line.trace(), ElementsAre("0 > 1B", "0 close COM1"));
    EXPECT_FALSE(link.escapeAndClose());
}

TEST_F(ProgrammerLinkTest, DrainReadsUntilOneSilentAttempt) {
    line.board(0).reply("abc").silence().reply("d");
    EXPECT_TRUE(link.drainLine());
    EXPECT_EQ(clock.nowMs(), 2800);
    EXPECT_EQ(line.unreadBytes(), 1u);
}

TEST_F(ProgrammerLinkTest, DrainGivesUpOnABoardThatNeverFallsSilent) {
    line.board(0).reply(std::string(SerialChannel::kRxBufferSize + 10, 'x'));
    EXPECT_FALSE(link.drainLine());
    EXPECT_EQ(line.unreadBytes(), 10u);
}

// In real time: a reset strobe of a minute ends soon after a stop (a signal);
// the protocol's pauses, which a busy chip needs, run out even then.
TEST(ProgrammerLinkWaits, TheProjectsDelaysGiveWayToAStopAndTheProtocolsDoNot) {
    using namespace std::chrono;
    base::SystemClock clock;
    SerialChannel channel([](int) { return nullptr; });
    ProgrammerLink link(channel, clock);
    std::atomic<bool> stop{false};
    link.setStopRequested([&] { return stop.load(); });
    std::thread signal([&] {
        std::this_thread::sleep_for(milliseconds(50));
        stop.store(true);
    });
    auto start = steady_clock::now();
    link.pauseUnlessStopped(60000);
    EXPECT_LT(steady_clock::now() - start, seconds(30));
    signal.join();
    start = steady_clock::now();
    link.pause(100);
    EXPECT_GE(steady_clock::now() - start, milliseconds(100));
}

}  // namespace
}  // namespace zavuv::link

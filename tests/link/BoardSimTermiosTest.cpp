// The real serial path: the termios port talking to zavuv-boardsim on a
// pseudo-terminal, in real time.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/SystemClock.h"
#include "chips/TargetConnect.h"
#include "link/TermiosPort.h"
#include "support/BoardSimProcess.h"
#include "support/LinkFixture.h"

namespace zavuv::link {
namespace {

TEST(BoardSimTermiosTest, ConnectsReadsAndEndsTheSessionThroughAPseudoTerminal) {
    testing::BoardSimProcess boardSim(ZAVUV_BOARDSIM_PATH, {"--sim-chip", "ATmega8"});
    ASSERT_FALSE(boardSim.devicePath().empty());

    base::SystemClock clock;
    SerialChannel channel([&](int index) -> std::unique_ptr<SerialPort> {
        return index == 0 ? std::make_unique<TermiosPort>(boardSim.devicePath()) : nullptr;
    });
    ProgrammerLink link(channel, clock);
    testing::RecordingUserPort user;
    BoardConnection connection(link, user);

    TargetOptions options;
    options.selectedDevice = options.deviceNo = testing::deviceIndex("ATmega8");
    ASSERT_TRUE(chips::connectTarget(connection, options, 1, SpeedCode::Baud921600));
    EXPECT_EQ(user.lastStatus(), "Connection accepted");
    ASSERT_TRUE(link.send(BoardCommand::CMD_SPI_READ, {0x30, 0x00, 0x01}));
    EXPECT_EQ(link.receiveByte(), 0x93);
    EXPECT_TRUE(link.endSession());

    connection.state().selectedPort = 1;
    ASSERT_TRUE(connection.readBoardIdentity(false));
    EXPECT_EQ(user.lastStatus(), "ZAVUV ISP programmer (simulated) (Serial number 5A 56 53 00 01)");
    EXPECT_THAT(user.messages(), ::testing::IsEmpty());
}

}  // namespace
}  // namespace zavuv::link

// The link's sequences against the board simulator, in virtual time.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/VirtualClock.h"
#include "chips/TargetConnect.h"
#include "sim/SimulatedBoard.h"
#include "sim/SimulatedPort.h"
#include "support/LinkFixture.h"

namespace zavuv::link {
namespace {

using testing::deviceIndex;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class SimulatedBoardTest : public ::testing::Test {
protected:
    // A simulated board on COM`port` with this chip and these faults.
    void startBoard(const std::string& chip, std::vector<std::string> faults = {}, int port = 1) {
        channel.close();  // a failed connect may leave the old board's port open
        sim::SimOptions options;
        options.chip = chip;
        options.faults = std::move(faults);
        options.traceInMemory = true;
        std::string error;
        board = sim::SimulatedBoard::create(options, error);
        ASSERT_TRUE(board) << error;
        boardPort = port;
    }

    TargetOptions optionsFor(std::string_view device) {
        TargetOptions options;
        options.selectedDevice = options.deviceNo = deviceIndex(device);
        return options;
    }

    std::unique_ptr<sim::SimulatedBoard> board;
    int boardPort = 1;
    base::VirtualClock clock;
    SerialChannel channel{[this](int index) -> std::unique_ptr<SerialPort> {
        if (!board || index != boardPort - 1)
            return nullptr;
        return std::make_unique<sim::SimulatedPort>(*board, clock);
    }};
    ProgrammerLink link{channel, clock};
    testing::RecordingUserPort user;
    BoardConnection connection{link, user};
};

TEST_F(SimulatedBoardTest, ConnectsToAnAvrAtEverySpeedAndEndsTheSession) {
    startBoard("ATmega8");
    for (SpeedCode speed : {SpeedCode::Baud19200, SpeedCode::Baud115200, SpeedCode::Baud921600}) {
        ASSERT_TRUE(chips::connectTarget(connection, optionsFor("ATmega8"), 1, speed));
        EXPECT_EQ(channel.baudRate(), baudRateOf(speed));
        // The board still talks: the first signature byte of the chip.
        ASSERT_TRUE(link.send(BoardCommand::CMD_SPI_READ, {0x30, 0x00, 0x00}));
        EXPECT_EQ(link.receiveByte(), 0x1E);
        // Ending brings the board back to 19200, where the next connect finds it.
        EXPECT_TRUE(link.endSession());
    }
    EXPECT_EQ(user.lastStatus(), "Connection accepted");
    EXPECT_THAT(user.messages(), IsEmpty());
}

TEST_F(SimulatedBoardTest, ConnectsToAt89SAndAt25Chips) {
    for (const char* chip : {"AT89S51", "AT89S8253", "AT25256"}) {
        startBoard(chip);
        ASSERT_TRUE(chips::connectTarget(connection, optionsFor(chip), 1, SpeedCode::Baud19200))
            << chip;
        EXPECT_EQ(user.lastStatus(), "Connection accepted");
        EXPECT_TRUE(link.endSession()) << chip;
    }
    EXPECT_THAT(user.messages(), IsEmpty());
}

TEST_F(SimulatedBoardTest, DetectsTheDataFlashFromItsStatusRegister) {
    startBoard("AT45DB161B");
    ASSERT_TRUE(
        chips::connectTarget(connection, optionsFor("AT45DB161B"), 1, SpeedCode::Baud19200));
    EXPECT_EQ(user.lastStatus(), "AT45 memory detected (AT45DB161B)");
    EXPECT_TRUE(link.endSession());

    startBoard("AT45DB041B");
    ASSERT_TRUE(
        chips::connectTarget(connection, optionsFor("AT45DB041D"), 1, SpeedCode::Baud19200));
    EXPECT_EQ(user.lastStatus(), "AT45 memory not detected (signature as AT45DB041B)");
    EXPECT_TRUE(link.endSession());
}

TEST_F(SimulatedBoardTest, ReadsTheBoardsIdentity) {
    startBoard("ATmega8", {}, 3);
    connection.state().selectedPort = 3;
    ASSERT_TRUE(connection.readBoardIdentity(false));
    EXPECT_EQ(connection.state().boardIdentity, "ZAVUV ISP programmer (simulated)");
    EXPECT_EQ(user.lastStatus(), "ZAVUV ISP programmer (simulated) (Serial number 5A 56 53 00 01)");
    EXPECT_FALSE(channel.connected());
}

TEST_F(SimulatedBoardTest, TheSearchFindsTheBoard) {
    startBoard("ATmega8", {}, 4);
    connection.searchBoard();
    EXPECT_EQ(connection.state().selectedPort, 4);
    EXPECT_EQ(user.lastStatus(), "ZAVUV ISP programmer (simulated) on COM4");
}

TEST_F(SimulatedBoardTest, BoardsWithoutTheRightFirmwareAreRefused) {
    startBoard("ATmega8", {"no-firmware"});
    EXPECT_FALSE(chips::connectTarget(connection, optionsFor("ATmega8"), 1, SpeedCode::Baud19200));
    EXPECT_THAT(user.messages(), ElementsAre(::testing::StartsWith("Programmer has no firmware")));

    startBoard("ATmega8", {"version=108"});
    EXPECT_FALSE(chips::connectTarget(connection, optionsFor("ATmega8"), 1, SpeedCode::Baud19200));
    EXPECT_THAT(user.messages().back(), ::testing::HasSubstr("FW version: 1.08"));
    EXPECT_TRUE(connection.state().versionConflict);
}

TEST_F(SimulatedBoardTest, AnUnpluggedAdapterEndsTheConnectWithAConnectionError) {
    startBoard("ATmega8", {"hangup-after=3"});
    EXPECT_FALSE(chips::connectTarget(connection, optionsFor("ATmega8"), 1, SpeedCode::Baud19200));
    EXPECT_EQ(user.lastStatus(), "Connection error");
    EXPECT_FALSE(channel.connected());
}

}  // namespace
}  // namespace zavuv::link

#include <gtest/gtest.h>

#include "operations/BoardAccess.h"
#include "support/RecordingUserPort.h"
#include "support/ScratchFolder.h"
#include "support/SimulatedWorkspace.h"

using namespace zavuv;

TEST(BoardAccess, NoBoardChosenIsReportedAndNothingIsOpened) {
    zavuv::testing::ScratchFolder folder;
    workspace::ProfileStore profile(folder.file("profile.ini"));
    zavuv::testing::RecordingUserPort user;
    workspace::Workspace ws(user, profile);
    EXPECT_FALSE(operations::requireBoard(ws));
    EXPECT_EQ(user.lastStatus(), "Select COM port or click 'search board'");
    EXPECT_EQ(user.messages(), std::vector<std::string>{"No board specified"});
    EXPECT_FALSE(ws.channel().connected());
    ws.setComPort(3);
    EXPECT_TRUE(operations::requireBoard(ws));
}

TEST(BoardAccess, ConnectsToTheSimulatedBoardAndEndsTheSession) {
    zavuv::testing::SimulatedWorkspace sim("ATmega8");
    sim.ws().baudIndex = 2;
    ASSERT_TRUE(operations::connect(sim.ws(), operations::memorySpeed(sim.ws())));
    EXPECT_EQ(sim.ws().channel().baudRate(), 921600);
    EXPECT_FALSE(sim.boardIdle());
    EXPECT_TRUE(operations::endSessionWarning(sim.ws()));
    EXPECT_TRUE(sim.boardIdle());
    EXPECT_TRUE(sim.user().messages().empty());
}

TEST(BoardAccess, DataFlashAlwaysTalksAt19200) {
    zavuv::testing::SimulatedWorkspace sim("AT45DB161B");
    sim.ws().baudIndex = 2;
    EXPECT_EQ(operations::memorySpeed(sim.ws()), link::SpeedCode::Baud19200);
}

#include <gtest/gtest.h>

#include "operations/BoardAccess.h"
#include "support/RecordingUserPort.h"
#include "support/ScratchFolder.h"

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

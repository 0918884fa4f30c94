#include <gtest/gtest.h>

#include "support/RecordingUserPort.h"
#include "support/ScratchFolder.h"
#include "support/SimulatedWorkspace.h"
#include "workspace/CommandStates.h"

using namespace zavuv;
using zavuv::testing::deviceIndexOf;

namespace {

class CommandStatesTest : public ::testing::Test {
protected:
    void choose(const std::string& device) { ws.deviceChosen(deviceIndexOf(device)); }

    zavuv::testing::ScratchFolder folder;
    workspace::ProfileStore profile{folder.file("profile.ini")};
    zavuv::testing::RecordingUserPort user;
    workspace::Workspace ws{user, profile};
};

}  // namespace

TEST_F(CommandStatesTest, DataFlashHasNoEepromAndNoAutoProgram) {
    ws.eeprom().create(16);
    ws.flash().create(16);
    choose("AT45DB041B");
    const auto s = workspace::commandStates(ws);
    EXPECT_FALSE(s.readEeprom || s.programEeprom || s.autoProgram);
    EXPECT_TRUE(s.readFlash && s.programFlash && s.chipErase);
    EXPECT_FALSE(s.readCalibration);
    EXPECT_TRUE(s.readSignature);  // the button connects and shows the detection
}

TEST_F(CommandStatesTest, SerialEepromHasNoFlashEraseOrAutoProgram) {
    ws.flash().create(16);
    choose("AT25256");
    const auto s = workspace::commandStates(ws);
    EXPECT_FALSE(s.chipErase || s.autoProgram || s.readFlash || s.programFlash);
    EXPECT_TRUE(s.readEeprom);
    EXPECT_FALSE(s.programEeprom);  // nothing loaded
    EXPECT_FALSE(s.readCalibration || s.readSignature);
}

TEST_F(CommandStatesTest, BuffersDecideProgramAndVerify) {
    choose("ATmega8");
    auto s = workspace::commandStates(ws);
    EXPECT_TRUE(s.readFlash && s.readEeprom && s.readCalibration && s.autoProgram);
    EXPECT_FALSE(s.programFlash || s.programEeprom);
    ws.flash().create(8);
    s = workspace::commandStates(ws);
    EXPECT_TRUE(s.programFlash);
    EXPECT_FALSE(s.programEeprom);
}

TEST_F(CommandStatesTest, ChoosingADeviceMarksTheProjectOnlyWhenItChanges) {
    choose("ATmega8");  // the project's own device
    EXPECT_FALSE(ws.project().dirty);
    EXPECT_EQ(workspace::windowTitle(ws), "[Unspecified] - Di-Vorore Rirorudura 11.15");
    choose("AT89S52");
    EXPECT_TRUE(ws.project().dirty);
    EXPECT_EQ(ws.project().deviceNo, deviceIndexOf("AT89S52"));
    EXPECT_EQ(workspace::windowTitle(ws), "[Unspecified]* - Di-Vorore Rirorudura 11.15");
    EXPECT_FALSE(workspace::commandStates(ws).readCalibration);
}

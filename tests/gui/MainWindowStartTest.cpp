// Start-up and exit of the main window, the operations it runs against the
// simulated board, and the zavuv program itself with -autoprogram.

#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "support/RunProgram.h"
#include "support/SimulatedWorkspace.h"

using namespace zavuv;
using namespace zavuv::app;
using zavuv::testing::deviceIndexOf;
using zavuv::testing::MainWindowFixture;

namespace {

class StartUp : public MainWindowFixture {};

}  // namespace

TEST_F(StartUp, FirstRunAsksForTheBoardAndKeepsTheChoiceAtOnce) {
    writeProfile("");
    boardSettingsAnswer = BoardChoice{3, 2};
    start();
    ASSERT_EQ(boardSettingsShown.size(), 1u);
    EXPECT_EQ(boardSettingsShown[0].port, 0);
    EXPECT_EQ(boardSettingsShown[0].baudIndex, 0);
    // Written before the window is even shown: a kill now keeps them.
    const workspace::ProfileStore written(folder.file("profile.ini"));
    EXPECT_EQ(written.readInt("Connect", "COM", -1), 3);
    EXPECT_EQ(written.readInt("Connect", "HighSpeed", -1), 2);
    EXPECT_EQ(written.readInt("Language", "Russian", -1), 0);
    EXPECT_EQ(window->workspace().comPort(), 3);
}

TEST_F(StartUp, CancelledFirstRunLeavesNoBoardAndOperationsSaySo) {
    writeProfile("");
    start();
    EXPECT_EQ(boardSettingsShown.size(), 1u);
    EXPECT_EQ(window->workspace().comPort(), 0);
    click(32901);
    EXPECT_EQ(status().toStdString(), text::GetUiText(1031));
}

TEST_F(StartUp, MostRecentProjectOpensOnlyWhenTheProfileAsksAndNamesOne) {
    const std::string project = writeProject("job.kb2", deviceIndexOf("ATtiny13"), 5);
    writeProfile("[Connect]\nCOM=1\n[Recent]\nLoadMostRecent=1\nProject1=" + project + "\n");
    start();
    EXPECT_TRUE(started);
    EXPECT_EQ(window->workspace().project().projectPath, project);
    EXPECT_EQ(byId<QComboBox>(1016)->currentText(), "ATtiny13");
    EXPECT_EQ(byId<QComboBox>(1148)->currentIndex(), 5);
    EXPECT_TRUE(boardSettingsShown.empty());
}

TEST_F(StartUp, LoadMostRecentWithAnEmptyFirstSlotLoadsNothing) {
    writeProfile("[Connect]\nCOM=1\n[Recent]\nLoadMostRecent=1\nProject1=[Unspecified]\n");
    start();
    EXPECT_EQ(window->workspace().project().projectPath, "[Unspecified]");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(StartUp, CommandLineProjectReplacesTheRecentOneAndOnlyTheExactSwitchRunsAutomatically) {
    const std::string recent = writeProject("recent.kb2", deviceIndexOf("ATmega8"), 4);
    const std::string named = writeProject("named.kb2", deviceIndexOf("ATtiny13"), 4);
    writeProfile("[Connect]\nCOM=1\n[Recent]\nLoadMostRecent=1\nProject1=" + recent + "\n");
    StartOptions options;
    options.commandLine = {named, "-AutoProgram"};
    start(options);
    EXPECT_TRUE(started);
    EXPECT_EQ(window->workspace().project().projectPath, named);
    EXPECT_EQ(menuItem(32801)->text().toStdString(), named);
    EXPECT_EQ(menuItem(32802)->text().toStdString(), recent);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(StartUp, AutomaticRunEndsWithItsResultBoxWithoutShowingTheWindow) {
    const std::string project = writeProject("job.kb2", deviceIndexOf("ATmega8"), 4);
    StartOptions options;
    options.simulate = true;
    options.commandLine = {project, "-autoprogram"};
    start(options);
    EXPECT_FALSE(started);
    EXPECT_FALSE(window->isVisible());
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), window->autoprogramOk() ? "AUTOPROGRAM: OK" : "AUTOPROGRAM: Error");
}

TEST_F(StartUp, ExitWritesBoardLanguageAndRecentProjectsButNotTheSimulatedPort) {
    const std::string project = writeProject("job.kb2", deviceIndexOf("ATmega8"), 4);
    writeProfile("[Connect]\nCOM=7\nHighSpeed=1\n");
    startSimulated(project);
    EXPECT_EQ(window->workspace().comPort(), 1);
    window->applyLanguage(text::Language::Russian);
    const workspace::ProfileStore written = closeAndReadProfile();
    EXPECT_EQ(written.readInt("Connect", "COM", -1), 7);
    EXPECT_EQ(written.readInt("Connect", "HighSpeed", -1), 1);
    EXPECT_EQ(written.readInt("Language", "Russian", -1), 1);
    EXPECT_EQ(written.readString("Recent", "Project1", ""), project);
    EXPECT_EQ(written.readString("Recent", "Project8", ""), "[Unspecified]");
}

TEST_F(StartUp, BoardCommandsReachTheSimulatedBoard) {
    startSimulated();
    click(32901);
    ASSERT_FALSE(boxes.empty());
    EXPECT_NE(boxes.back().find("Serial number"), std::string::npos);
    window->workspace().setComPort(0);
    click(32788);
    EXPECT_EQ(window->workspace().comPort(), 1);
}

TEST(ZavuvProgram, AutoprogramRunsWithoutAPersonAndTellsItsResultInTheExitCode) {
    zavuv::testing::ScratchFolder folder;
    const std::string profile = folder.write("profile.ini", "[Connect]\nCOM=1\n");
    const std::string project = folder.write(
        "job.kb2", "[Files]\nFlash=[Unspecified]\nEeprom=[Unspecified]\n[Device]\nDeviceNo=12\n");
    const auto result = zavuv::testing::runProgram(
        ZAVUV_GUI_PATH, {"--simulate", project, "-autoprogram"},
        {"QT_QPA_PLATFORM=offscreen", "ZAVUV_ANSWER_BOXES=1", "ZAVUV_PROFILE=" + profile});
    const bool ok = result.err.find("message: AUTOPROGRAM: OK") != std::string::npos;
    const bool error = result.err.find("message: AUTOPROGRAM: Error") != std::string::npos;
    ASSERT_TRUE(ok || error) << result.err;
    EXPECT_EQ(result.exitCode, ok ? 0 : 1);
    // The exit sequence ran: the project is the most recent one.
    const workspace::ProfileStore written(profile);
    EXPECT_EQ(written.readString("Recent", "Project1", ""), project);
}

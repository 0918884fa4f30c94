// Start-up and exit of the main window, the operations it runs against the
// simulated board and the colours they leave in the preview, and the zavuv
// program itself with -autoprogram.

#include <algorithm>
#include <chrono>
#include <csignal>
#include <thread>

#include <gtest/gtest.h>

#include <QScrollBar>

#include "MainWindowFixture.h"
#include "support/BoardSimProcess.h"
#include "support/RunProgram.h"
#include "support/SimulatedWorkspace.h"

using namespace zavuv;
using namespace zavuv::app;
using zavuv::testing::deviceIndexOf;
using zavuv::testing::MainWindowFixture;

namespace {

const std::string kBlinkHex = ZAVUV_EXAMPLES "/blink.hex";

class StartUp : public MainWindowFixture {};

}  // namespace

TEST_F(StartUp, FirstRunAsksForTheBoardAndKeepsTheChoiceAtOnce) {
    writeProfile("");
    boardSettingsAnswer = dialogs::BoardChoice{3, 2};
    start();
    ASSERT_EQ(boardSettingsShown.size(), 1u);
    EXPECT_EQ(boardSettingsShown[0].comPort, 0);
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
    EXPECT_EQ(status().toStdString(), text::GetUiText(text::Msg::SelectPort));
    // Lock/Fuse says the same, and "No board specified" in a box.
    window->setStatus("");
    click(1016);
    EXPECT_EQ(status().toStdString(), text::GetUiText(text::Msg::SelectPort));
    EXPECT_EQ(boxes.back(), text::GetUiText(text::Msg::NoBoardSpecified));
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
    shell::StartOptions options;
    options.commandLine = {named, "-AutoProgram"};
    start(options);
    EXPECT_TRUE(started);
    EXPECT_EQ(window->workspace().project().projectPath, named);
    EXPECT_EQ(menuItem(32801)->text().toStdString(), named);
    EXPECT_EQ(menuItem(32802)->text().toStdString(), recent);
    EXPECT_TRUE(boxes.empty());
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

TEST_F(StartUp, ProgramFlashThenVerifyFromTheButtonsAgainstTheSimulatedBoard) {
    startSimulated();
    fileAnswers.push_back(kBlinkHex);
    click(1006);
    ASSERT_TRUE(byId(1009)->isEnabled());
    click(1009);
    EXPECT_EQ(status().toStdString(), text::formatUiText(text::Msg::FlashProgramDone, 16));
    click(1010);
    EXPECT_EQ(status().toStdString(), text::formatUiText(text::Msg::FlashVerifyOk, 16));
    // The chip now holds the image: reading it back gives the same bytes.
    window->workspace().flash().clear();
    click(1013);
    EXPECT_EQ(window->workspace().flash().size(), 8192u);
    EXPECT_EQ(window->workspace().flash().data()[1], 0xEF);
}

// Every byte of the Flash preview, page by page: the verified colour in its
// hex cell and no other byte colour.
TEST_F(StartUp, ProgramThenVerifyLeavesEveryByteOfTheFlashPreviewInTheVerifiedColour) {
    constexpr int kVerified = static_cast<int>(buffers::ByteState::Verified);
    std::vector<std::uint8_t> image(1000);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 13 + 5);
    startSimulated();
    window->show();
    fileAnswers.push_back(folder.write("image.bin", image));
    click(1006);
    click(1009);
    click(1010);
    ASSERT_EQ(status().toStdString(), text::formatUiText(text::Msg::FlashVerifyOk, 1000));

    widgets::BufferPreview& preview = *window->flashPreview();
    QApplication::processEvents();
    const buffers::PreviewLayout grid = preview.layout();
    const int rows = grid.visibleLines(preview.viewport()->height());
    ASSERT_GT(rows, 2);
    std::size_t sampled = 0;
    for (int first = 0; first * 16 < static_cast<int>(image.size()); first += rows) {
        preview.verticalScrollBar()->setValue(first);
        const int top = preview.firstLine();
        const QImage shot = preview.viewport()->grab().toImage();
        for (int row = first - top; row < first - top + rows; ++row) {
            for (int column = 0; column < 16; ++column) {
                const std::size_t index = static_cast<std::size_t>((top + row) * 16 + column);
                if (index >= image.size())
                    break;
                const buffers::CellBox box = grid.hexCell(row, column);
                // Apart from the top and left edges, where the grid lines run.
                const QRect cell(box.left + 1, box.top + 1, box.right - box.left - 1,
                                 box.bottom - box.top - 1);
                ASSERT_TRUE(shot.rect().contains(cell)) << index;
                for (int colour = 0; colour <= widgets::kCursorColour; ++colour) {
                    const int pixels =
                        zavuv::testing::countPixels(shot, cell, widgets::previewColour(colour));
                    if (colour == kVerified)
                        EXPECT_GT(pixels, 0) << "byte " << index;
                    else
                        EXPECT_EQ(pixels, 0) << "byte " << index << " colour " << colour;
                }
                ++sampled;
            }
        }
    }
    EXPECT_EQ(sampled, image.size());
}

namespace {

// A project for the automatic sequence: reload, program and verify Flash.
std::string autoProject(const zavuv::testing::ScratchFolder& folder, const std::string& flash) {
    return folder.write("auto.kb2", "[Files]\nFlash=" + flash +
                                        "\nEeprom=[Unspecified]\n[AutoProgram]\nAutoErase=1\n"
                                        "AutoFlashReload=1\nAutoFlashProgram=1\n"
                                        "AutoFlashVerify=1\n[Device]\nDeviceNo=12\n");
}

struct ProgramRun {
    int exitCode;
    std::string boxes;
};

// `arguments` before the project and the switch.
ProgramRun runAutoprogram(const zavuv::testing::ScratchFolder& folder,
                          const std::string& profileText, std::vector<std::string> arguments) {
    const std::string profile = folder.write("profile.ini", profileText);
    arguments.push_back(autoProject(folder, kBlinkHex));
    arguments.push_back("-autoprogram");
    const auto result = zavuv::testing::runProgram(
        ZAVUV_GUI_PATH, arguments,
        {"QT_QPA_PLATFORM=offscreen", "ZAVUV_ANSWER_BOXES=1", "ZAVUV_PROFILE=" + profile});
    return {result.exitCode, result.err};
}

}  // namespace

TEST_F(StartUp, AutomaticRunProgramsTheProjectWithoutShowingTheWindow) {
    shell::StartOptions options;
    options.simulate = true;
    options.commandLine = {autoProject(folder, kBlinkHex), "-autoprogram"};
    start(options);
    EXPECT_FALSE(started);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->autoprogramOk());
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "AUTOPROGRAM: OK");
}

// A project that names a production log: the automatic run writes its unit's
// line there, the log named relative to the project's folder.
TEST_F(StartUp, AutomaticRunWritesTheProjectsProductionLog) {
    const std::string project =
        folder.write("logged.kb2", "[Files]\nFlash=" + kBlinkHex +
                                       "\n[AutoProgram]\nAutoFlashProgram=1\nAutoFlashVerify=1\n"
                                       "[Device]\nDeviceNo=12\n[Production]\nLog=line.csv\n");
    shell::StartOptions options;
    options.simulate = true;
    options.commandLine = {project, "-autoprogram"};
    start(options);
    EXPECT_TRUE(window->autoprogramOk());
    const std::string log = folder.read(folder.file("line.csv"));
    EXPECT_EQ(log.substr(0, 15), "time,port,board");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;
    // Nothing in this run reads the chip's signature: its field stays empty.
    EXPECT_NE(log.find(",5A 56 53 00 01,ATmega8,,"), std::string::npos) << log;
    EXPECT_NE(log.find(",OK,,"), std::string::npos) << log;
}

TEST(ZavuvProgram, AutoprogramRunsWithoutAPersonAndTellsItsResultInTheExitCode) {
    zavuv::testing::ScratchFolder folder;
    const ProgramRun ok = runAutoprogram(folder, "[Connect]\nCOM=1\n", {"--simulate"});
    EXPECT_NE(ok.boxes.find("message: AUTOPROGRAM: OK"), std::string::npos) << ok.boxes;
    EXPECT_EQ(ok.exitCode, 0);
    // The exit sequence ran: the project is the most recent one.
    const workspace::ProfileStore written(folder.file("profile.ini"));
    EXPECT_EQ(written.readString("Recent", "Project1", ""), folder.file("auto.kb2"));

    // COM1 leads nowhere: the sequence cannot connect.
    const ProgramRun error = runAutoprogram(
        folder, "[Connect]\nCOM=1\n[Ports]\nCOM1=" + folder.file("no-such-port") + "\n", {});
    EXPECT_NE(error.boxes.find("message: AUTOPROGRAM: Error"), std::string::npos) << error.boxes;
    EXPECT_EQ(error.exitCode, 1);

    // A fresh profile names no port: no Board Settings dialog waits for a person.
    const ProgramRun noPort = runAutoprogram(folder, "", {});
    EXPECT_NE(noPort.boxes.find(std::string("message: ") +
                                text::GetUiText(text::Msg::NoPortForUnattendedRun) +
                                "\nmessage: AUTOPROGRAM: Error"),
              std::string::npos)
        << noPort.boxes;
    EXPECT_EQ(noPort.exitCode, 1);
}

// SIGTERM (a killed job) in the middle of the automatic run cancels it; the
// board session still ends, so the next command on the board works.
TEST(ZavuvProgram, SigtermCancelsTheAutomaticRunAndTheBoardStaysUsable) {
    zavuv::testing::ScratchFolder folder;
    zavuv::testing::BoardSimProcess board(ZAVUV_BOARDSIM_PATH,
                                          {"--sim-chip", "ATmega128", "--line-rate"});
    ASSERT_FALSE(board.devicePath().empty());
    const std::string profile = folder.write(
        "profile.ini", "[Connect]\nCOM=1\nHighSpeed=1\n[Ports]\nCOM1=" + board.devicePath() + "\n");
    // 128 KB at 115200 baud take about 12 s.
    const std::string image = folder.write("image.bin", std::string(128 * 1024, '\x5A'));
    const std::string project =
        folder.write("big.kb2", "[Files]\nFlash=image.bin\n[AutoProgram]\nAutoFlashProgram=1\n"
                                "[Device]\nDeviceNo=" +
                                    std::to_string(deviceIndexOf("ATmega128")) + "\n");
    const auto started = std::chrono::steady_clock::now();
    const auto run = zavuv::testing::startProgram(
        ZAVUV_GUI_PATH, {project, "-autoprogram"},
        {"QT_QPA_PLATFORM=offscreen", "ZAVUV_ANSWER_BOXES=1", "ZAVUV_PROFILE=" + profile});
    std::this_thread::sleep_for(std::chrono::seconds(3));
    ASSERT_EQ(kill(run.pid, SIGTERM), 0);
    const auto result = zavuv::testing::collectProgram(run);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_EQ(result.exitCode, 1) << result.err;
    EXPECT_NE(result.err.find("message: AUTOPROGRAM: Error"), std::string::npos) << result.err;

    const auto next = zavuv::testing::runProgram(
        ZAVUV_CLI_PATH, {"-p", board.devicePath(), "-d", "ATmega128", "signature"},
        {"ZAVUV_PROFILE=" + folder.file("cli.ini")});
    EXPECT_EQ(next.exitCode, 0) << next.out << next.err;
}

// The window-free rules of the program: what a dropped file does, the command
// line, and the command table.

#include <gtest/gtest.h>

#include "app/shell/CommandTable.h"
#include "app/shell/FileDrop.h"
#include "app/shell/StartOptions.h"

using namespace zavuv::app;

TEST(FileDrop, ExtensionDecidesProjectOrBufferAndThePlaceTheBuffer) {
    EXPECT_EQ(shell::dropAction("/p/JOB.KB1", shell::DropPlace::Elsewhere),
              shell::DropAction::OpenProject);
    EXPECT_EQ(shell::dropAction("/p/job.kb1", shell::DropPlace::FlashPreview),
              shell::DropAction::OpenProject);
    // Every project extension opens as a project, wherever it lands.
    EXPECT_EQ(shell::dropAction("/p/job.kb2", shell::DropPlace::FlashPreview),
              shell::DropAction::OpenProject);
    EXPECT_EQ(shell::dropAction("/p/job.Zavuv", shell::DropPlace::EepromPreview),
              shell::DropAction::OpenProject);
    EXPECT_EQ(shell::dropAction("/p/job.hex", shell::DropPlace::FlashPreview),
              shell::DropAction::LoadFlash);
    EXPECT_EQ(shell::dropAction("/p/job.bin", shell::DropPlace::EepromPreview),
              shell::DropAction::LoadEeprom);
    EXPECT_EQ(shell::dropAction("/p/job.hex", shell::DropPlace::Elsewhere),
              shell::DropAction::Beep);
    // No dot: the whole path is the extension.
    EXPECT_EQ(shell::dropAction("kb1", shell::DropPlace::Elsewhere),
              shell::DropAction::OpenProject);
    EXPECT_EQ(shell::dropAction(".hex", shell::DropPlace::FlashPreview), shell::DropAction::Ignore);
    EXPECT_EQ(shell::dropAction("", shell::DropPlace::FlashPreview), shell::DropAction::Ignore);
    // A dot further on counts even when the path starts with one.
    EXPECT_EQ(shell::dropAction(".x.hex", shell::DropPlace::FlashPreview),
              shell::DropAction::LoadFlash);
}

TEST(StartOptions, SimulateMayStandAnywhereAndTheRestIsPathThenSwitch) {
    const std::vector<std::string> args = {"my project.kb2", "--simulate", "-autoprogram"};
    const shell::StartOptions options = shell::startOptionsFromArguments(args);
    EXPECT_TRUE(options.simulate);
    EXPECT_EQ(options.commandLine.projectPath, "my project.kb2");
    EXPECT_EQ(options.commandLine.switchText, "-autoprogram");
    EXPECT_FALSE(shell::startOptionsFromArguments(std::vector<std::string>{}).simulate);
}

TEST(CommandTable, OneHandlerPerIdAndNotificationKind) {
    shell::CommandTable table;
    std::vector<std::string> ran;
    table.add(1016, [&] { ran.push_back("lock/fuse"); });
    table.add(
        1016, [&] { ran.push_back("device"); }, shell::Notification::SelectionChanged);
    EXPECT_TRUE(table.run(1016));
    EXPECT_TRUE(table.run(1016, shell::Notification::SelectionChanged));
    EXPECT_FALSE(table.run(1017));
    EXPECT_EQ(ran, (std::vector<std::string>{"lock/fuse", "device"}));
}

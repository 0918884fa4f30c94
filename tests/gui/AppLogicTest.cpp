// The window-free rules of the program: what a dropped file does, the command
// line, and the command table.

#include <gtest/gtest.h>

#include "app/CommandTable.h"
#include "app/FileDrop.h"
#include "app/StartOptions.h"

using namespace zavuv::app;

TEST(FileDrop, ExtensionDecidesProjectOrBufferAndThePlaceTheBuffer) {
    EXPECT_EQ(dropAction("/p/JOB.KB1", DropPlace::Elsewhere), DropAction::OpenProject);
    EXPECT_EQ(dropAction("/p/job.kb1", DropPlace::FlashPreview), DropAction::OpenProject);
    EXPECT_EQ(dropAction("/p/job.kb2", DropPlace::FlashPreview), DropAction::LoadFlash);
    EXPECT_EQ(dropAction("/p/job.zavuv", DropPlace::EepromPreview), DropAction::LoadEeprom);
    EXPECT_EQ(dropAction("/p/job.kb2", DropPlace::Elsewhere), DropAction::Beep);
    // No dot: the whole path is the extension.
    EXPECT_EQ(dropAction("kb1", DropPlace::Elsewhere), DropAction::OpenProject);
    EXPECT_EQ(dropAction(".hex", DropPlace::FlashPreview), DropAction::Ignore);
    EXPECT_EQ(dropAction("", DropPlace::FlashPreview), DropAction::Ignore);
    // A dot further on counts even when the path starts with one.
    EXPECT_EQ(dropAction(".x.hex", DropPlace::FlashPreview), DropAction::LoadFlash);
}

TEST(StartOptions, SimulateMayStandAnywhereAndTheRestIsPathThenSwitch) {
    const std::vector<std::string> args = {"my project.kb2", "--simulate", "-autoprogram"};
    const StartOptions options = startOptionsFromArguments(args);
    EXPECT_TRUE(options.simulate);
    EXPECT_EQ(options.commandLine.projectPath, "my project.kb2");
    EXPECT_EQ(options.commandLine.switchText, "-autoprogram");
    EXPECT_FALSE(startOptionsFromArguments(std::vector<std::string>{}).simulate);
}

TEST(CommandTable, OneHandlerPerIdAndNotificationKind) {
    CommandTable table;
    std::vector<std::string> ran;
    table.add(1016, [&] { ran.push_back("lock/fuse"); });
    table.add(
        1016, [&] { ran.push_back("device"); }, Notification::SelectionChanged);
    EXPECT_TRUE(table.run(1016));
    EXPECT_TRUE(table.run(1016, Notification::SelectionChanged));
    EXPECT_FALSE(table.run(1017));
    EXPECT_EQ(ran, (std::vector<std::string>{"lock/fuse", "device"}));
}

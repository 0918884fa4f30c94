// Work the person has not saved is offered for saving before a command would
// drop or replace it; a board that cannot be reached leaves the image alone.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "MainWindowFixture.h"
#include "app/shell/ProjectCommands.h"

using namespace zavuv;
using namespace zavuv::app;
using zavuv::testing::MainWindowFixture;

namespace {

constexpr const char* kHex = ":10000000000102030405060708090A0B0C0D0E0F78\n:00000001FF\n";
constexpr const char* kFlashQuestion = "The Flash image has been modified. Save it?";

class SaveQuestion : public MainWindowFixture {
protected:
    std::string readFile(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }

    // A window showing an image loaded from a file, then edited.
    std::string startWithAnEditedImage() {
        const std::string hex = folder.write("image.hex", kHex);
        start();
        window->show();
        auto& flash = window->workspace().flash();
        flash.loadFile(hex);
        flash.setByte(0, 0xAA);
        boxes.clear();
        return hex;
    }
};

}  // namespace

TEST_F(SaveQuestion, ExitWithAModifiedImageAsksYesSavesNoDiscardsCancelStays) {
    std::string hex = startWithAnEditedImage();
    boxAnswers = {QMessageBox::Cancel};
    click(shell::id::kExit);
    EXPECT_EQ(boxes, std::vector<std::string>{kFlashQuestion});
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->workspace().flash().modified());
    EXPECT_EQ(readFile(hex), kHex);

    boxAnswers = {QMessageBox::No};
    click(shell::id::kExit);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(readFile(hex), kHex);

    window.reset();
    hex = startWithAnEditedImage();
    boxAnswers = {QMessageBox::Yes};
    click(shell::id::kExit);
    EXPECT_EQ(boxes, std::vector<std::string>{kFlashQuestion});
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(readFile(hex).starts_with(":10000000AA0102030405060708090A0B0C0D0E0F"));
}

TEST_F(SaveQuestion, SystemCloseAndNewAskTheSameAndAnUneditedWindowAsksNothing) {
    startWithAnEditedImage();
    boxAnswers = {QMessageBox::Cancel, QMessageBox::Cancel};
    window->close();
    EXPECT_TRUE(window->isVisible());
    click(shell::id::kNewProject);
    EXPECT_EQ(boxes, (std::vector<std::string>{kFlashQuestion, kFlashQuestion}));
    EXPECT_TRUE(window->workspace().flash().modified());

    window.reset();
    start();
    window->show();
    boxes.clear();
    click(shell::id::kExit);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(SaveQuestion, ModifiedProjectIsAskedAboutByItsPathAndSavedWhole) {
    const std::string project = writeProject("job.kb2", 0, 0);
    start();
    ASSERT_TRUE(shell::loadProjectFile(*window, project));
    click(shell::id::kFlashInvert);  // an option of the project
    boxAnswers = {QMessageBox::Yes};
    click(shell::id::kCloseProject);
    EXPECT_EQ(boxes,
              std::vector<std::string>{"The project " + project + " has been modified. Save it?"});
    EXPECT_NE(readFile(project).find("FlashInvert=1"), std::string::npos);
    EXPECT_FALSE(window->workspace().project().dirty);
}

TEST_F(SaveQuestion, ReadWithNoReachableBoardKeepsTheImageAndAModifiedOneIsAskedAboutFirst) {
    writeProfile("[Connect]\nCOM=2\n[Ports]\nCOM2=" + folder.file("no-such-tty") + "\n");
    const std::string hex = folder.write("image.hex", kHex);
    start();
    auto& flash = window->workspace().flash();
    flash.loadFile(hex);
    window->commands().run(shell::id::kReadFlash);
    ASSERT_EQ(flash.size(), 16u);
    EXPECT_EQ(flash.data()[15], 0x0F);
    EXPECT_FALSE(flash.modified());
    EXPECT_EQ(byId<QLabel>(shell::id::kFlashFileField)->text().toStdString(), hex);

    flash.setByte(0, 0xAA);
    boxes.clear();
    boxAnswers = {QMessageBox::Cancel};
    window->commands().run(shell::id::kReadFlash);
    EXPECT_EQ(boxes, std::vector<std::string>{kFlashQuestion});
    EXPECT_EQ(flash.data()[0], 0xAA);
}

TEST_F(SaveQuestion, ProgramTakesAFreshBuildOfAnUneditedFileAndAsksAboutAnEditedOne) {
    const std::string hex = folder.write("image.hex", kHex);
    startSimulated();
    auto& flash = window->workspace().flash();
    flash.loadFile(hex);
    const auto rebuild = [&](const char* content) {
        folder.write("image.hex", content);
        std::filesystem::last_write_time(hex, std::filesystem::last_write_time(hex) +
                                                  std::chrono::seconds(2));
    };
    rebuild(":02000000AABB99\n:00000001FF\n");
    click(shell::id::kProgramFlash);
    ASSERT_EQ(flash.size(), 2u);
    EXPECT_EQ(flash.data()[1], 0xBB);

    // An edited image is the person's: asked, and No keeps it.
    flash.setByte(0, 0x11);
    rebuild(kHex);
    boxes.clear();
    boxAnswers = {QMessageBox::No};
    click(shell::id::kProgramFlash);
    ASSERT_FALSE(boxes.empty());
    EXPECT_NE(boxes.front().find("has changed on disk"), std::string::npos);
    EXPECT_EQ(flash.size(), 2u);
    EXPECT_EQ(flash.data()[0], 0x11);
}

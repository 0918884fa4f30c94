// Project and buffer commands of the main window, and files dropped on it.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QMimeData>
#include <QUrl>

#include "MainWindowFixture.h"
#include "support/SimulatedWorkspace.h"

using namespace zavuv;
using namespace zavuv::app;
using zavuv::testing::deviceIndexOf;
using zavuv::testing::MainWindowFixture;

namespace {

constexpr const char* kHex = ":10000000000102030405060708090A0B0C0D0E0F78\n:00000001FF\n";

class Files : public MainWindowFixture {
protected:
    int loadMostRecent() const { return profile->readInt("Recent", "LoadMostRecent", -1); }
    std::string flashPath() const { return window->workspace().flash().path(); }

    // Drops files at a point of the window's client area.
    void drop(const QStringList& paths, const QPoint& clientPoint) {
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = window->clientArea()->mapTo(window.get(), clientPoint);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &event);
    }
    QPoint over(int placeholder) const { return byId(placeholder)->geometry().center(); }
    QPoint outsideThePreviews() const { return byId(1079)->geometry().center(); }
};

}  // namespace

TEST_F(Files, OpenCancelledSaysNotLoadedAndKeepsLoadMostRecent) {
    writeProfile("[Connect]\nCOM=1\n[Recent]\nLoadMostRecent=1\n");
    start();
    fileAnswers.push_back(std::nullopt);
    click(32780);
    EXPECT_EQ(status(), "Project not loaded");
    EXPECT_EQ(loadMostRecent(), 1);
    ASSERT_EQ(fileRequests.size(), 1u);
    EXPECT_FALSE(fileRequests[0].save);
    EXPECT_TRUE(fileRequests[0].filters.contains("*.kb2"));
}

TEST_F(Files, OpenLoadsTheProjectShowsItsDeviceAndEntersItInTheRecentList) {
    start();
    const std::string hex = folder.write("image.hex", kHex);
    const std::string project = writeProject("job.kb2", deviceIndexOf("ATtiny2313"), 2, hex);
    fileAnswers.push_back(project);
    click(32780);
    EXPECT_EQ(status(), "Project loaded");
    EXPECT_EQ(loadMostRecent(), 1);
    EXPECT_EQ(byId<QComboBox>(1016)->currentText(), "ATtiny2313");
    EXPECT_EQ(byId<QComboBox>(1148)->currentIndex(), 2);
    EXPECT_EQ(flashPath(), hex);
    EXPECT_EQ(byId<QLabel>(1003)->text().toStdString(), hex);
    EXPECT_EQ(title(), project + " - " + text::GetUiText(text::Msg::ProgramTitle));
    ASSERT_NE(menuItem(32801), nullptr);
    EXPECT_EQ(menuItem(32801)->text().toStdString(), project);
    // A project that does not load says so and leaves the list alone.
    fileAnswers.push_back(folder.file("missing.kb2"));
    click(32780);
    EXPECT_EQ(status(), "Project not loaded");
    EXPECT_EQ(menuItem(32802), nullptr);
}

TEST_F(Files, ReloadSaysLoadedEvenWhenTheProjectFileIsGone) {
    start();
    const std::string project = writeProject("job.kb2", deviceIndexOf("ATmega8"), 4);
    fileAnswers.push_back(project);
    click(32780);
    std::filesystem::remove(project);
    profile->writeInt("Recent", "LoadMostRecent", 0);
    window->setStatus("something else");
    click(32783);
    EXPECT_EQ(status(), "Project loaded");
    EXPECT_EQ(loadMostRecent(), 1);
    ASSERT_FALSE(boxes.empty());
    EXPECT_NE(boxes.back().find("Error reading project file"), std::string::npos);
}

TEST_F(Files, NewAndCloseClearLoadMostRecentAndOnlyCloseEmptiesTheBuffers) {
    start();
    window->workspace().flash().create(32);
    click(1059);
    // The new image is offered for saving first; No lets it go.
    boxAnswers = {QMessageBox::No};
    click(32784);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(loadMostRecent(), 0);
    EXPECT_EQ(window->workspace().flash().size(), 32u);
    EXPECT_FALSE(byId<QCheckBox>(1059)->isChecked());
    EXPECT_FALSE(window->workspace().project().dirty);

    profile->writeInt("Recent", "LoadMostRecent", 1);
    boxAnswers = {QMessageBox::No};
    click(32792);
    EXPECT_EQ(loadMostRecent(), 0);
    EXPECT_EQ(window->workspace().flash().size(), 0u);
    EXPECT_FALSE(byId(1009)->isEnabled());
}

TEST_F(Files, SaveAsWritesTheProjectAndEntersItInTheRecentList) {
    start();
    const std::string path = folder.file("saved.kb2");
    fileAnswers.push_back(path);
    click(32782);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(window->workspace().project().projectPath, path);
    ASSERT_NE(menuItem(32801), nullptr);
    EXPECT_EQ(menuItem(32801)->text().toStdString(), path);
}

TEST_F(Files, RecentEntryLoadsItsProjectAndMovesToTheFront) {
    const std::string first = writeProject("one.kb2", deviceIndexOf("ATtiny13"), 3);
    const std::string second = writeProject("two.kb2", deviceIndexOf("ATmega8"), 4);
    writeProfile("[Connect]\nCOM=1\n[Recent]\nProject1=" + second + "\nProject2=" + first + "\n");
    start();
    click(32802);
    EXPECT_EQ(window->workspace().project().projectPath, first);
    EXPECT_EQ(menuItem(32801)->text().toStdString(), first);
    EXPECT_EQ(menuItem(32802)->text().toStdString(), second);
    EXPECT_EQ(loadMostRecent(), 1);
    EXPECT_EQ(byId<QComboBox>(1016)->currentText(), "ATtiny13");
}

TEST_F(Files, BufferLoadShowsTheBufferTextAndAFailedLoadLeavesTheStatusAlone) {
    start();
    fileAnswers.push_back(folder.write("image.hex", kHex));
    click(1006);
    EXPECT_EQ(status(), "Flash length: 16 (0x10) bytes, Checksum = 0x0078");
    EXPECT_TRUE(byId(1009)->isEnabled());
    ASSERT_EQ(fileRequests.size(), 1u);
    EXPECT_EQ(fileRequests[0].defaultSuffix, "hex");

    window->setStatus("before");
    fileAnswers.push_back(folder.file("missing.hex"));
    click(1006);
    EXPECT_EQ(status(), "before");
    EXPECT_EQ(window->workspace().flash().size(), 16u);

    // Cancelled: nothing happens.
    click(1007);
    EXPECT_EQ(status(), "before");
    EXPECT_EQ(fileRequests.back().defaultSuffix, "eep");
}

TEST_F(Files, BufferSaveWithoutAFileAsksForOneAndShowsTheBufferTextInAnyCase) {
    start();
    window->workspace().eeprom().create(8);
    const std::string path = folder.file("data.eep");
    fileAnswers.push_back(path);
    click(32772);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(window->workspace().eeprom().path(), path);
    EXPECT_EQ(status(), "Eeprom length: 8 (0x8) bytes, Checksum = 0x07F8");
    ASSERT_EQ(fileRequests.size(), 1u);
    EXPECT_TRUE(fileRequests[0].save);

    click(32773);
    EXPECT_EQ(window->workspace().eeprom().size(), 0u);
    EXPECT_EQ(byId<QLabel>(1004)->text(), "[Unspecified]");
}

TEST_F(Files, InvertBoxSwapsThePreviewAndModifiesTheProject) {
    start();
    click(1059);
    EXPECT_TRUE(window->workspace().project().flashInvert);
    EXPECT_TRUE(window->workspace().project().dirty);
    EXPECT_TRUE(window->flashPreview()->swapBytes());
    click(1060);
    EXPECT_TRUE(window->workspace().project().autoIncrement);
}

TEST_F(Files, DroppedFilesFollowTheExtensionAndThePointRules) {
    start();
    const std::string hex = folder.write("image.hex", kHex);
    // An image loads into the buffer under the point.
    drop({QString::fromStdString(hex)}, over(1002));
    EXPECT_EQ(flashPath(), hex);
    EXPECT_EQ(status(), "Flash length: 16 (0x10) bytes, Checksum = 0x0078");
    drop({QString::fromStdString(hex)}, over(1001));
    EXPECT_EQ(window->workspace().eeprom().path(), hex);
    EXPECT_EQ(beeps, 0);

    drop({QString::fromStdString(hex)}, outsideThePreviews());
    EXPECT_EQ(beeps, 1);

    // Two files at once are ignored.
    window->workspace().flash().clear();
    drop({QString::fromStdString(hex), QString::fromStdString(hex)}, over(1002));
    EXPECT_EQ(window->workspace().flash().size(), 0u);

    // A capital "KB1" opens as a project wherever it lands.
    const std::string project = writeProject("JOB.KB1", deviceIndexOf("ATtiny13"), 1);
    drop({QString::fromStdString(project)}, outsideThePreviews());
    EXPECT_EQ(window->workspace().project().projectPath, project);
    EXPECT_EQ(byId<QComboBox>(1016)->currentText(), "ATtiny13");
    EXPECT_EQ(beeps, 1);

    // So do the projects the Open dialog lists, even over a preview.
    const std::string saved = writeProject("job.kb2", deviceIndexOf("ATmega8"), 0);
    drop({QString::fromStdString(saved)}, over(1002));
    EXPECT_EQ(window->workspace().project().projectPath, saved);
}

TEST_F(Files, DropOfAPathWhoseOnlyDotComesFirstIsIgnored) {
    start();
    // A relative path, as some desktops hand over: ".hex" names no extension.
    drop({".hex"}, outsideThePreviews());
    drop({".hex"}, over(1002));
    EXPECT_EQ(beeps, 0);
    EXPECT_TRUE(boxes.empty());
}

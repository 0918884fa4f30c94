#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <QLabel>

#include "DialogTesting.h"
#include "app/dialogs/AboutDialog.h"
#include "app/widgets/HelpCommand.h"
#include "app/widgets/HyperlinkWidget.h"
#include "support/ScratchFolder.h"
#include "text/UiText.h"

using namespace zavuv;
using namespace zavuv::app;
using namespace zavuv::testing;
namespace fs = std::filesystem;

namespace {

// A program folder and an installation's share and documents folders, all
// empty at first.
class HelpAndAboutTest : public ::testing::Test {
protected:
    std::vector<fs::path> folders() const { return {programFolder, shareFolder, docFolder}; }

    void ship(const fs::path& folder, const std::string& relative) {
        fs::create_directories((folder / relative).parent_path());
        std::ofstream(folder / relative) << "<html></html>";
    }

    widgets::UrlOpener recordingOpener() {
        return [this](const QUrl& url) {
            opened.push_back(url);
            return true;
        };
    }

    ScratchFolder scratch;
    fs::path programFolder = scratch.path() / "bin";
    fs::path shareFolder = scratch.path() / "share" / "zavuv";
    fs::path docFolder = scratch.path() / "share" / "doc" / "zavuv";
    std::vector<QUrl> opened;
    RecordedBoxes boxes;
};

QUrl fileUrl(const fs::path& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path.lexically_normal().string()));
}

}  // namespace

TEST_F(HelpAndAboutTest, HelpOpensThePageBesideTheProgramFirstThenTheInstalledOne) {
    ship(shareFolder, widgets::kHelpPage);
    EXPECT_TRUE(widgets::openHelp(nullptr, folders(), recordingOpener(), boxes.shower()));
    ship(programFolder, widgets::kHelpPage);
    EXPECT_TRUE(widgets::openHelp(nullptr, folders(), recordingOpener(), boxes.shower()));

    EXPECT_EQ(opened, (std::vector<QUrl>{fileUrl(shareFolder / widgets::kHelpPage),
                                         fileUrl(programFolder / widgets::kHelpPage)}));
    EXPECT_TRUE(boxes.requests.empty());
}

TEST_F(HelpAndAboutTest, APageThatNothingCanShowIsReportedWithItsPath) {
    ship(shareFolder, widgets::kHelpPage);
    const widgets::UrlOpener noBrowser = [](const QUrl&) { return false; };
    EXPECT_FALSE(widgets::openHelp(nullptr, folders(), noBrowser, boxes.shower()));
    ASSERT_EQ(boxes.requests.size(), 1u);
    const std::string page = (shareFolder / widgets::kHelpPage).lexically_normal().string();
    EXPECT_EQ(boxes.requests[0].text,
              QString::fromStdString("Cannot open the help page \"" + page +
                                     "\": no program to show it was found."));
}

TEST_F(HelpAndAboutTest, MissingHelpPageIsReportedWithItsPathAndNothingOpens) {
    // A folder of that name is no page either.
    fs::create_directories(shareFolder / widgets::kHelpPage);
    QWidget owner;
    EXPECT_FALSE(widgets::openHelp(&owner, folders(), recordingOpener(), boxes.shower()));

    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(boxes.requests.size(), 1u);
    const std::string expected = (programFolder / widgets::kHelpPage).string();
    EXPECT_EQ(boxes.requests[0].text,
              QString::fromStdString("Cannot find help file \"" + expected + "\"."));
    EXPECT_EQ(boxes.requests[0].caption, "Programmer ZAVUV");
    EXPECT_EQ(boxes.requests[0].icon, base::MessageIcon::Information);
    EXPECT_EQ(boxes.owners[0], &owner);
}

TEST_F(HelpAndAboutTest, AboutLinksOpenTheHelpPageTheDocumentsAndTheLicence) {
    ship(programFolder, widgets::kHelpPage);
    ship(shareFolder, "docs/architecture.md");
    ship(docFolder, "LICENSE");
    dialogs::AboutDialog dialog(nullptr, folders(), recordingOpener(), boxes.shower());

    EXPECT_EQ(control<QLabel>(dialog, 1104)->text(), "In-System Programmer");
    EXPECT_EQ(control<QLabel>(dialog, 1107)->text(), "Version 11.15, November 2006");
    for (const int id : {dialogs::AboutDialog::kHelpLinkId, dialogs::AboutDialog::kDocumentsLinkId,
                         dialogs::AboutDialog::kLicenseLinkId}) {
        auto* link = control<widgets::HyperlinkWidget>(dialog, id);
        ASSERT_NE(link, nullptr) << id;
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
        emit link->activated();
    }
    EXPECT_EQ(opened,
              (std::vector<QUrl>{fileUrl(programFolder / widgets::kHelpPage),
                                 fileUrl(shareFolder / "docs"), fileUrl(docFolder / "LICENSE")}));
    EXPECT_EQ(control<QLabel>(dialog, dialogs::AboutDialog::kLicenseLinkId)->text(),
              "Licence (GPL 3 or later)");
}

TEST_F(HelpAndAboutTest, AboutLinkToAMissingFileHandsOverThePlaceBesideTheProgram) {
    // The desktop is given the place a build puts the file, and says that it
    // is not there.
    dialogs::AboutDialog dialog(nullptr, folders(), recordingOpener(), boxes.shower());
    emit control<widgets::HyperlinkWidget>(dialog, dialogs::AboutDialog::kLicenseLinkId)
        ->activated();
    EXPECT_EQ(opened, std::vector<QUrl>{fileUrl(programFolder / "LICENSE")});
    EXPECT_TRUE(boxes.requests.empty());
}

TEST_F(HelpAndAboutTest, AboutHelpLinkReportsAMissingPageLikeTheHelpCommand) {
    dialogs::AboutDialog dialog(nullptr, folders(), recordingOpener(), boxes.shower());
    QTest::mouseClick(control<QWidget>(dialog, dialogs::AboutDialog::kHelpLinkId), Qt::LeftButton);
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.owners[0], &dialog);
}

TEST(HyperlinkWidget, ActivatesOnAClickAndOnEnterButNotOnAReleaseOutsideIt) {
    widgets::HyperlinkWidget link("docs");
    link.resize(60, 20);
    int activations = 0;
    QObject::connect(&link, &widgets::HyperlinkWidget::activated, [&] { ++activations; });
    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::keyClick(&link, Qt::Key_Return);
    QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(200, 10));
    QTest::mouseClick(&link, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(activations, 2);
}

// The page shipped with the program explains every menu command and button of
// the main window, in both languages.
TEST(HelpPage, NamesEveryCommandInBothLanguages) {
    std::ifstream in(
        (fs::path(ZAVUV_TEST_DATA) / ".." / ".." / "help" / "zavuv.htm").lexically_normal());
    ASSERT_TRUE(in.is_open());
    std::string page{std::istreambuf_iterator<char>(in), {}};
    for (std::size_t at; (at = page.find("&amp;")) != std::string::npos;)
        page.replace(at, 5, "&");

    // "&Lock&&Fuse Bits..." is shown as "Lock&Fuse Bits".
    const auto shown = [](std::string caption) {
        std::string plain;
        for (std::size_t i = 0; i < caption.size(); ++i) {
            if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] == '&')
                plain += caption[++i];
            else if (caption[i] != '&')
                plain += caption[i];
        }
        if (plain.ends_with("..."))
            plain.resize(plain.size() - 3);
        return plain;
    };
    for (const text::MenuCaptionRow& row : text::menuCaptionTable()) {
        EXPECT_NE(page.find(shown(row.english)), std::string::npos) << row.english;
        EXPECT_NE(page.find(shown(row.russian)), std::string::npos) << row.russian;
    }
    for (const text::CaptionRow& row : text::findDialogCaptions(102)->rows) {
        EXPECT_NE(page.find(row.english), std::string::npos) << row.english;
        EXPECT_NE(page.find(row.russian), std::string::npos) << row.russian;
    }
    for (const char* switchText : {"-autoprogram", "--simulate", "zavuv-cli"})
        EXPECT_NE(page.find(switchText), std::string::npos) << switchText;
}

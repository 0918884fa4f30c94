// The main window as a whole: its controls where the template puts them, the
// previews over their placeholders, the keys that must do nothing, the menu
// and its routing, the language switch.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>

#include "MainWindowFixture.h"
#include "app/shell/MainMenu.h"
#include "app/widgets/DialogUnits.h"

using namespace zavuv;
using namespace zavuv::app;
using zavuv::testing::MainWindowFixture;
using zavuv::testing::resizeAndWait;

namespace {

class MainWindow : public MainWindowFixture {
protected:
    QRect placeholder(int id) const { return byId(id)->geometry(); }
    QRect previewRect(const widgets::BufferPreview* preview) const { return preview->geometry(); }

    QStringList topLevelMenus() const {
        QStringList texts;
        for (const QAction* a : window->menu()->actions())
            texts << a->text();
        return texts;
    }
};

// Every command id of menu 131, in menu order, without the recent entries.
const std::vector<int> kMenuIds = {
    32784, 32780, 32783, 32781, 32782, 32792, 1015,  1056,  1006,  32908, 32790, 32776, 32774,
    32771, 1009,  1010,  1013,  1007,  32909, 32791, 32772, 32775, 32773, 1011,  1012,  1014,
    32795, 1016,  32785, 32907, 32779, 32777, 32904, 32910, 32901, 32789, 16};

}  // namespace

TEST_F(MainWindow, ControlsStandAtTheirTemplatePositionsAndPreviewsCoverThePlaceholders) {
    start();
    const widgets::DialogUnits units(window->font());
    EXPECT_EQ(byId(1111)->geometry(), units.rect(5, 5, 335, 120));
    EXPECT_EQ(byId(1009)->geometry(), units.rect(350, 115, 85, 15));
    EXPECT_EQ(byId(1057)->geometry(), units.rect(5, 258, 435, 12));
    EXPECT_EQ(byId<QCheckBox>(1059)->text(), "Inv");
    EXPECT_EQ(byId<QGroupBox>(1079)->title(), "Device");
    EXPECT_FALSE(byId(1002)->isVisibleTo(window.get()));
    EXPECT_EQ(previewRect(window->flashPreview()), placeholder(1002));
    EXPECT_EQ(previewRect(window->eepromPreview()), placeholder(1001));
    EXPECT_EQ(window->flashPreview()->windowTitle(), "Preview Flash");
    EXPECT_EQ(window->eepromPreview()->objectName(), "1022");
    EXPECT_EQ(status().toStdString(), text::GetUiText(text::Msg::ProgramTitle));
}

TEST_F(MainWindow, GrowingTallerStretchesTheFlashPaneAndKeepsThePreviewsOnTheirPlaceholders) {
    start();
    window->show();
    const QSize first = window->size();
    const QRect flashBefore = placeholder(1002);
    const QRect eepromBefore = placeholder(1001);
    const QRect programFlash = byId(1009)->geometry();
    const QRect deviceBox = byId(1079)->geometry();
    const QRect chipErase = byId(1008)->geometry();

    ASSERT_TRUE(resizeAndWait(*window, first + QSize(0, 120)));
    EXPECT_EQ(placeholder(1002).height(), flashBefore.height() + 120);
    EXPECT_EQ(placeholder(1001), eepromBefore.translated(0, 120));
    EXPECT_EQ(byId(1057)->geometry().top(),
              widgets::DialogUnits(window->font()).toPixelsY(258) + 120);
    EXPECT_EQ(byId(1009)->geometry(), programFlash);
    // The Device box grows with the panes and Chip Erase moves to its new foot.
    EXPECT_EQ(byId(1079)->geometry().height(), deviceBox.height() + 120);
    EXPECT_EQ(byId(1008)->geometry(), chipErase.translated(0, 120));
    EXPECT_EQ(previewRect(window->flashPreview()), placeholder(1002));
    EXPECT_EQ(previewRect(window->eepromPreview()), placeholder(1001));
    // The width is fixed and the first height is the least: the menu bar above
    // the whole client area, nothing more.
    EXPECT_EQ(window->maximumWidth(), first.width());
    EXPECT_EQ(window->minimumHeight(), first.height());
    const widgets::DialogUnits units(window->font());
    EXPECT_EQ(first.width(), units.toPixelsX(448));
    EXPECT_EQ(first.height(), window->menu()->heightForWidth(first.width()) + units.toPixelsY(274));
}

TEST_F(MainWindow, MaximisedItKeepsItsWidthInTheMiddleAndTakesTheWholeHeight) {
    start();
    window->show();
    const int width = window->width();
    window->showMaximized();
    QApplication::processEvents();
    const QRect area = window->screen()->availableGeometry();
    EXPECT_FALSE(window->isMaximized());
    const QRect frame = window->frameGeometry();
    EXPECT_EQ(window->width(), width);
    EXPECT_EQ(frame.top(), area.top());
    EXPECT_EQ(frame.bottom(), area.bottom());
    EXPECT_LE(std::abs((frame.left() - area.left()) - (area.right() - frame.right())), 1);
}

TEST_F(MainWindow, FirstRunBoardSettingsStandOnTheScreenNotOverAHiddenWindow) {
    writeProfile("[Connect]\nCOM=0\n");
    start();
    ASSERT_EQ(boardSettingsShown.size(), 1u);
    EXPECT_EQ(boardSettingsOwners.front(), nullptr);
}

TEST_F(MainWindow, EnterAndEscapeDoNothingWhileExitAndTheSystemCloseEndTheWindow) {
    start();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QString before = status();
    QTest::keyClick(window.get(), Qt::Key_Return);
    QTest::keyClick(window.get(), Qt::Key_Enter);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(status(), before);
    EXPECT_TRUE(boxes.empty());

    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Rejected);

    window->show();
    click(1056);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindow, MenuHoldsEveryCommandAndRoutesEachOne) {
    start();
    for (const int id : kMenuIds) {
        SCOPED_TRACE(id);
        ASSERT_NE(menuItem(id), nullptr);
        EXPECT_TRUE(window->commands().routes(id));
    }
    // Commands without a menu item or control.
    for (const int id : {32788, 32786, 32778, 32794, 1057})
        EXPECT_TRUE(window->commands().routes(id)) << id;
    for (const int id : {1005, 1016, 1148})
        EXPECT_TRUE(window->commands().routes(id, shell::Notification::SelectionChanged)) << id;
    EXPECT_EQ(topLevelMenus(),
              (QStringList{"&Project", "&Flash", "&Eeprom", "&Settings", "&Advanced", "&Help"}));
    // No recent project yet: the placeholder stands alone.
    ASSERT_NE(menuItem(shell::id::kRecentProjectsItem), nullptr);
    EXPECT_EQ(menuItem(shell::id::kFirstRecentProject), nullptr);
}

TEST_F(MainWindow, RecentProjectsReplaceThePlaceholderUpToTheFirstEmptySlot) {
    writeProfile("[Connect]\nCOM=1\n[Recent]\nProject1=/p/a&b.kb2\nProject2=/p/two.kb2\n"
                 "Project3=[Unspecified]\nProject4=/p/four.kb2\n");
    start();
    EXPECT_EQ(menuItem(shell::id::kRecentProjectsItem), nullptr);
    ASSERT_NE(menuItem(32801), nullptr);
    EXPECT_EQ(menuItem(32801)->text(), "/p/a&&b.kb2");
    EXPECT_EQ(menuItem(32802)->text(), "/p/two.kb2");
    EXPECT_EQ(menuItem(32803), nullptr);
    // The entries stand where the placeholder stood: before the separator and Exit.
    const QList<QAction*> project = window->menu()->actions().front()->menu()->actions();
    const auto at = [&](int id) { return project.indexOf(menuItem(id)); };
    EXPECT_EQ(at(32802), at(32801) + 1);
    EXPECT_EQ(at(1056), at(32802) + 2);
}

TEST_F(MainWindow, LanguageSwitchTranslatesWindowAndMenuAndRebuildsTheTitle) {
    start();
    window->applyLanguage(text::Language::Russian);
    EXPECT_EQ(byId<QPushButton>(1009)->text(), QString::fromUtf8("Программир. Flash"));
    EXPECT_EQ(menuItem(32784)->text(), QString::fromUtf8("&Новый"));
    EXPECT_EQ(topLevelMenus().back(), QString::fromUtf8("П&омощь"));
    EXPECT_EQ(title(), std::string("[Unspecified] - ") + text::GetUiText(text::Msg::ProgramTitle));

    window->applyLanguage(text::Language::English);
    EXPECT_EQ(byId<QPushButton>(1009)->text(), "Program Flash");
    EXPECT_EQ(menuItem(32784)->text(), "&New");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindow, QtsOwnButtonsSpeakTheProfilesLanguageAndFollowASwitch) {
    writeProfile("[Connect]\nCOM=1\n[Language]\nRussian=1\n");
    start();
    const auto buttonTexts = [] {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QStringList texts;
        for (auto button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            texts << box.button(button)->text().remove('&');
        return texts;
    };
    EXPECT_EQ(buttonTexts(), (QStringList{QString::fromUtf8("Да"), QString::fromUtf8("Нет"),
                                          QString::fromUtf8("Отмена")}));
    window->applyLanguage(text::Language::English);
    EXPECT_EQ(buttonTexts(), (QStringList{"Yes", "No", "Cancel"}));
    window->applyLanguage(text::Language::Russian);
    EXPECT_EQ(buttonTexts().front(), QString::fromUtf8("Да"));
}

TEST_F(MainWindow, EveryMenuItemHasAMnemonicOfItsOwnInBothLanguages) {
    start();
    for (const auto language : {text::Language::English, text::Language::Russian}) {
        window->applyLanguage(language);
        QSet<QChar> topKeys;
        for (QAction* top : window->menu()->actions()) {
            const QKeySequence topKey = QKeySequence::mnemonic(top->text());
            ASSERT_FALSE(topKey.isEmpty()) << top->text().toStdString();
            EXPECT_FALSE(topKeys.contains(top->text()[top->text().indexOf('&') + 1].toLower()));
            topKeys.insert(top->text()[top->text().indexOf('&') + 1].toLower());
            QSet<QChar> keys;
            for (QAction* item : top->menu()->actions()) {
                if (item->isSeparator() ||
                    item->data().toInt() >= app::shell::id::kFirstRecentProject)
                    continue;
                const QString text = item->text();
                const auto at = text.indexOf(QRegularExpression("&[^&]"));
                ASSERT_GE(at, 0) << text.toStdString();
                const QChar key = text[at + 1].toLower();
                EXPECT_FALSE(keys.contains(key)) << text.toStdString();
                keys.insert(key);
            }
        }
    }
    // The board search is named in message 1031 by its Russian caption.
    EXPECT_EQ(menuItem(app::shell::id::kSearchBoard)->text(), QString::fromUtf8("&Поиск платы"));
    window->applyLanguage(text::Language::English);
}

TEST_F(MainWindow, StandardShortcutsReachTheProjectCommandsReloadAndExit) {
    start();
    using app::shell::id::kExit;
    EXPECT_EQ(menuItem(app::shell::id::kNewProject)->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(menuItem(app::shell::id::kOpenProject)->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(menuItem(app::shell::id::kSaveProject)->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(menuItem(app::shell::id::kFlashReload)->shortcut(), QKeySequence("F5"));
    EXPECT_EQ(menuItem(kExit)->shortcut(), QKeySequence("Ctrl+Q"));
    // The keys work in the window itself, not only in an open menu.
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(fileRequests.size(), 1u);
}

TEST_F(MainWindow, RightDoubleClickOnTheBackgroundOpensAdvancedSettingsButNotOnAButton) {
    writeProfile("[Connect]\nCOM=1\nSpecial3=5\n");
    start();
    window->show();
    QTest::mouseDClick(byId(1009), Qt::RightButton);
    QTest::mouseDClick(byId(1057), Qt::RightButton);
    EXPECT_TRUE(advancedShown.empty());
    // Inside the Device group box, below the last button.
    const QPoint background = byId(1079)->geometry().bottomLeft() + QPoint(20, -4);
    advancedAnswer = link::BoardDelays{1, 2, 3, 4};
    QTest::mouseDClick(window->clientArea(), Qt::RightButton, {}, background);
    ASSERT_EQ(advancedShown.size(), 1u);
    EXPECT_EQ(advancedShown[0].pageWriteDelayMs, 5);
    EXPECT_EQ(window->workspace().boardDelays.postSendDelayMs, 4);
    EXPECT_EQ(profile->readInt("Connect", "Special1", -1), 1);
}

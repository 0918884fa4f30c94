#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "GuiTesting.h"
#include "app/widgets/Translation.h"
#include "text/LanguageFixture.h"

using namespace zavuv;
using namespace zavuv::app;
using zavuv::testing::control;

namespace {

template <typename T> T* addControl(QWidget* parent, int id, const QString& text) {
    auto* c = new T(text, parent);
    c->setObjectName(QString::number(id));
    return c;
}

QAction* addCommand(QMenu* menu, const QString& text, int id) {
    QAction* action = menu->addAction(text);
    action->setData(id);
    return action;
}

// A small main window: a few buttons, the group box and a menu of the main
// window's shape (every top-level menu, some of their items).
class MiniMainWindow : public QDialog {
public:
    MiniMainWindow() {
        addControl<QPushButton>(this, 1009, "Program Flash");
        addControl<QGroupBox>(this, 1079, "Device");
        addControl<QCheckBox>(this, 1059, "Inv");
        menuBar = new QMenuBar(this);
        QMenu* project = menuBar->addMenu("&Project");
        addCommand(project, "&New", 32784);
        project->addSeparator();
        QMenu* recent = project->addMenu("Recent Projects");
        addCommand(recent, "/home/me/board.kb2", 32801);
        addCommand(project, "&Exit", 1056);
        addCommand(menuBar->addMenu("&Flash"), "&Program", 1009);
        addCommand(menuBar->addMenu("&Eeprom"), "&Program", 1011);
        addCommand(menuBar->addMenu("&Settings"), "Select &Language...", 32907);
        addCommand(menuBar->addMenu("&Advanced"), "&ZAVUV Info...", 32901);
        QMenu* help = menuBar->addMenu("&Help");
        addCommand(help, "&Help", 32789);
        addCommand(help, "&About", 16);
    }

    QStringList topLevel() const {
        QStringList texts;
        for (const QAction* a : menuBar->actions())
            texts << a->text();
        return texts;
    }

    QString command(int id) const {
        for (const QMenu* menu : findChildren<QMenu*>())
            for (const QAction* a : menu->actions())
                if (a->data().toInt() == id)
                    return a->text();
        return {};
    }

    QMenuBar* menuBar;
};

class TranslationTest : public text::testing::LanguageFixture {
protected:
    static QString ru(const char* utf8) { return QString::fromUtf8(utf8); }

    int boxes = 0;
    widgets::MessageBoxShower countingShower() {
        return [this](QWidget*, const widgets::MessageBoxRequest&) {
            ++boxes;
            return QMessageBox::Ok;
        };
    }
};

}  // namespace

TEST_F(TranslationTest, MainWindowAndMenuFollowTheLanguageBothWays) {
    MiniMainWindow window;
    text::setLanguage(text::Language::Russian);
    widgets::TranslateWindow(&window, widgets::kMainWindowDialogId, countingShower());

    EXPECT_EQ(control<QPushButton>(window, 1009)->text(), ru("Программир. Flash"));
    EXPECT_EQ(control<QGroupBox>(window, 1079)->title(), ru("Микросхема"));
    EXPECT_EQ(window.topLevel(), (QStringList{ru("&Проект"), "&Flash", "&Eeprom", ru("&Настройки"),
                                              ru("&Дополнительно"), ru("П&омощь")}));
    EXPECT_EQ(window.command(32784), ru("&Новый"));
    EXPECT_EQ(window.command(1009), ru("Про&граммировать"));
    EXPECT_EQ(window.command(16), ru("&О программе..."));
    // Recent-project entries have no row and keep their paths.
    EXPECT_EQ(window.command(32801), "/home/me/board.kb2");
    EXPECT_EQ(window.windowTitle(), "");

    text::setLanguage(text::Language::English);
    widgets::TranslateWindow(&window, widgets::kMainWindowDialogId, countingShower());
    EXPECT_EQ(window.topLevel(),
              (QStringList{"&Project", "&Flash", "&Eeprom", "&Settings", "&Advanced", "&Help"}));
    EXPECT_EQ(window.command(32784), "&New");
    EXPECT_EQ(control<QPushButton>(window, 1009)->text(), "Program Flash");
    EXPECT_EQ(boxes, 0);
}

TEST_F(TranslationTest, HelpMovesToTheRightEndOfTheBarKeepingItsItems) {
    MiniMainWindow window;
    window.menuBar->addMenu("&Debug");
    widgets::TranslateMenu(window.menuBar);
    EXPECT_EQ(window.topLevel(), (QStringList{"&Project", "&Flash", "&Eeprom", "&Settings",
                                              "&Advanced", "&Debug", "&Help"}));
    EXPECT_EQ(window.menuBar->actions().back()->menu()->actions().size(), 2);
}

TEST_F(TranslationTest, MainWindowWithoutMenuSaysSoAndStillTranslatesItsControls) {
    QDialog window;
    addControl<QPushButton>(&window, 1009, "x");
    std::vector<widgets::MessageBoxRequest> shown;
    std::vector<QWidget*> owners;
    widgets::TranslateWindow(&window, widgets::kMainWindowDialogId,
                             [&](QWidget* owner, const widgets::MessageBoxRequest& r) {
                                 owners.push_back(owner);
                                 shown.push_back(r);
                                 return QMessageBox::Ok;
                             });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Cannot translate menu.");
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].icon, base::MessageIcon::Error);
    EXPECT_EQ(owners[0], nullptr);
    EXPECT_EQ(control<QPushButton>(window, 1009)->text(), "Program Flash");
}

TEST_F(TranslationTest, TitleAndControlsOfAnyDialogAndTheLaterRowWins) {
    QDialog window;
    window.setWindowTitle("template title");
    addControl<QLabel>(&window, 1155, "template");
    addControl<QPushButton>(&window, 1, "OK");
    text::setLanguage(text::Language::Russian);
    widgets::TranslateWindow(&window, 150, countingShower());
    EXPECT_EQ(window.windowTitle(), ru("Настройки обновления версии"));
    EXPECT_EQ(control<QLabel>(window, 1155)->text(), "-");
    EXPECT_EQ(control<QPushButton>(window, 1)->text(), ru("Обновить"));
    EXPECT_EQ(boxes, 0);
}

TEST_F(TranslationTest, UnknownDialogKeepsItsTextsAndOwnedWindowsAreLeftAlone) {
    QDialog window;
    window.setWindowTitle("Mine");
    // A dialog owned by the window, with a control 2 of its own that a plain
    // search would find first.
    auto* owned = new QDialog(&window);
    auto* ownedButton = addControl<QPushButton>(owned, 2, "Owned");
    auto* button = addControl<QPushButton>(&window, 2, "Close");

    widgets::TranslateWindow(&window, 999, countingShower());
    EXPECT_EQ(window.windowTitle(), "Mine");
    EXPECT_EQ(button->text(), "Close");

    widgets::TranslateWindow(&window, 149, countingShower());
    EXPECT_EQ(window.windowTitle(), "Load Address");
    EXPECT_EQ(button->text(), "Cancel");
    EXPECT_EQ(ownedButton->text(), "Owned");
}

#include "app/shell/MainMenu.h"

#include <initializer_list>

#include <QMenu>

#include "app/shell/MainWindowIds.h"
#include "app/widgets/Translation.h"

namespace zavuv::app::shell {

namespace {

constexpr int kSeparator = 0;

struct MenuItem {
    int id;  // kSeparator: a separator line
    const char* text;
    const char* keys = nullptr;  // the shortcut, in QKeySequence's portable form
};

struct TopMenu {
    const char* text;
    std::initializer_list<MenuItem> items;
};

// The template texts; TranslateMenu sets the captions of the current language.
// The board search (id::kSearchBoard) has an item of its own under Advanced, so that it
// can be reached without knowing its id.
const std::initializer_list<TopMenu> kMenu131 = {
    {"&Project",
     {{id::kNewProject, "&New", "Ctrl+N"},
      {id::kOpenProject, "&Open...", "Ctrl+O"},
      {id::kReloadProject, "&Reload"},
      {id::kSaveProject, "&Save", "Ctrl+S"},
      {id::kSaveProjectAs, "Save &As..."},
      {id::kCloseProject, "&Close"},
      {kSeparator, nullptr},
      {id::kAutoProgram, "Auto-&Program"},
      {kSeparator, nullptr},
      {id::kRecentProjectsItem, "Recent Pro&jects"},
      {kSeparator, nullptr},
      {id::kExit, "&Exit", "Ctrl+Q"}}},
    {"&Flash",
     {{id::kFlashLoad, "&Load..."},
      {id::kFlashLoadAt, "Load A&t..."},
      {id::kFlashReload, "&Reload...", "F5"},
      {id::kFlashSave, "&Save"},
      {id::kFlashSaveAs, "Save &As..."},
      {id::kFlashClose, "&Close"},
      {kSeparator, nullptr},
      {id::kProgramFlash, "&Program"},
      {id::kVerifyFlash, "&Verify"},
      {id::kReadFlash, "R&ead"}}},
    {"&Eeprom",
     {{id::kEepromLoad, "&Load..."},
      {id::kEepromLoadAt, "Load A&t..."},
      {id::kEepromReload, "&Reload..."},
      {id::kEepromSave, "&Save"},
      {id::kEepromSaveAs, "Save &As..."},
      {id::kEepromClose, "&Close"},
      {kSeparator, nullptr},
      {id::kProgramEeprom, "&Program"},
      {id::kVerifyEeprom, "&Verify"},
      {id::kReadEeprom, "R&ead"}}},
    {"&Settings",
     {{id::kProjectSettings, "&Project Settings..."},
      {id::kLockFuseBits, "&Lock&&Fuse Bits..."},
      {kSeparator, nullptr},
      {id::kBoardSettings, "&Board Settings..."},
      {kSeparator, nullptr},
      {id::kSelectLanguage, "Select La&nguage..."}}},
    {"&Advanced",
     {{id::kBlankCheck, "&Empty Check..."},
      {id::kReadSignature, "&Read Signature..."},
      {kSeparator, nullptr},
      {id::kReadCalibration, "Read &Calibration Bytes..."},
      {kSeparator, nullptr},
      {id::kUpdateFirmware, "&Update firmware version..."},
      {kSeparator, nullptr},
      {id::kBoardInformation, "&ZAVUV Info..."},
      {id::kSearchBoard, "&Search Board"}}},
    {"&Help", {{id::kHelp, "&Help"}, {kSeparator, nullptr}, {id::kAbout, "&About"}}},
};

QAction* makeCommand(QMenu* menu, const QString& text, int id, const char* keys = nullptr) {
    auto* action = new QAction(text, menu);
    action->setData(id);
    if (keys != nullptr)
        action->setShortcut(QKeySequence(QString::fromLatin1(keys)));
    return action;
}

void putRecentProjects(QMenuBar* bar, const workspace::RecentProjects& recent) {
    QAction* placeholder = widgets::findMenuCommand(bar, id::kRecentProjectsItem);
    const std::vector<std::string> entries = recent.entries();
    if (placeholder == nullptr || entries.empty())
        return;
    QMenu* menu = qobject_cast<QMenu*>(placeholder->parent());
    int next = id::kFirstRecentProject;
    for (const std::string& path : entries)
        menu->insertAction(
            placeholder,
            makeCommand(menu, QString::fromStdString(path).replace("&", "&&"), next++));
    menu->removeAction(placeholder);
    delete placeholder;
}

}  // namespace

QMenuBar* BuildMenu(const workspace::RecentProjects& recent, QWidget* parent) {
    auto* bar = new QMenuBar(parent);
    for (const TopMenu& top : kMenu131) {
        QMenu* menu = bar->addMenu(top.text);
        for (const MenuItem& item : top.items) {
            if (item.id == kSeparator)
                menu->addSeparator();
            else
                menu->addAction(makeCommand(menu, item.text, item.id, item.keys));
        }
    }
    widgets::TranslateMenu(bar);
    putRecentProjects(bar, recent);
    return bar;
}

}  // namespace zavuv::app::shell

#include "app/shell/MainMenu.h"

#include <initializer_list>

#include <QMenu>

#include "app/widgets/Translation.h"

namespace zavuv::app::shell {

namespace {

constexpr int kSeparator = 0;

struct MenuItem {
    int id;  // kSeparator: a separator line
    const char* text;
};

struct TopMenu {
    const char* text;
    std::initializer_list<MenuItem> items;
};

// The template texts; TranslateMenu sets the captions of the current language.
// The board search (32788) has an item of its own under Advanced, so that it
// can be reached without knowing its id.
const std::initializer_list<TopMenu> kMenu131 = {
    {"&Project",
     {{32784, "&New"},
      {32780, "&Open..."},
      {32783, "&Reload"},
      {32781, "&Save"},
      {32782, "Save &As..."},
      {32792, "&Close"},
      {kSeparator, nullptr},
      {1015, "Auto-&Program"},
      {kSeparator, nullptr},
      {kRecentProjectsItem, "Recent Projects"},
      {kSeparator, nullptr},
      {1056, "&Exit"}}},
    {"&Flash",
     {{1006, "&Load..."},
      {32908, "Load A&t..."},
      {32790, "&Reload..."},
      {32776, "Save"},
      {32774, "Save &As..."},
      {32771, "Close"},
      {kSeparator, nullptr},
      {1009, "&Program"},
      {1010, "&Verify"},
      {1013, "&Read"}}},
    {"&Eeprom",
     {{1007, "&Load..."},
      {32909, "Load &At..."},
      {32791, "&Reload..."},
      {32772, "Save"},
      {32775, "Save &As..."},
      {32773, "Close"},
      {kSeparator, nullptr},
      {1011, "&Program"},
      {1012, "&Verify"},
      {1014, "&Read"}}},
    {"&Settings",
     {{32795, "&Project Settings..."},
      {1016, "&Lock&&Fuse Bits..."},
      {kSeparator, nullptr},
      {32785, "&Board Settings..."},
      {kSeparator, nullptr},
      {32907, "Select &Language..."}}},
    {"&Advanced",
     {{32779, "&Empty Check..."},
      {32777, "&Read Signature..."},
      {kSeparator, nullptr},
      {32904, "Read &Calibration Bytes..."},
      {kSeparator, nullptr},
      {32910, "&Update firmware version..."},
      {kSeparator, nullptr},
      {32901, "&ZAVUV Info..."},
      {32788, "&Search Board"}}},
    {"&Help", {{32789, "&Help"}, {kSeparator, nullptr}, {16, "&About"}}},
};

QAction* makeCommand(QMenu* menu, const QString& text, int id) {
    auto* action = new QAction(text, menu);
    action->setData(id);
    return action;
}

void putRecentProjects(QMenuBar* bar, const workspace::RecentProjects& recent) {
    QAction* placeholder = widgets::findMenuCommand(bar, kRecentProjectsItem);
    const std::vector<std::string> entries = recent.entries();
    if (placeholder == nullptr || entries.empty())
        return;
    QMenu* menu = qobject_cast<QMenu*>(placeholder->parent());
    int id = kFirstRecentProject;
    for (const std::string& path : entries)
        menu->insertAction(
            placeholder, makeCommand(menu, QString::fromStdString(path).replace("&", "&&"), id++));
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
                menu->addAction(makeCommand(menu, item.text, item.id));
        }
    }
    widgets::TranslateMenu(bar);
    putRecentProjects(bar, recent);
    return bar;
}

}  // namespace zavuv::app::shell

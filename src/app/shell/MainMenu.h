#pragma once
// Menu 131, the main window's menu bar: Project, Flash, Eeprom, Settings,
// Advanced and Help, every item carrying its command id in QAction::data().

#include <QMenuBar>

#include "workspace/RecentProjects.h"

namespace zavuv::app::shell {

// A new menu bar of menu 131 in the current language. The recent projects
// before the first empty slot stand, by their full paths, where the
// "Recent Projects" item was; with no recent project that item stays.
QMenuBar* BuildMenu(const workspace::RecentProjects& recent, QWidget* parent);

}  // namespace zavuv::app::shell

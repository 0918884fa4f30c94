#pragma once
// Re-captions windows and the main menu from the caption tables in the current
// language. Controls are found by their object name, which is the control id
// ("1009"); menu actions by the command id kept in QAction::data().

#include <QMenuBar>
#include <QWidget>

#include "app/widgets/MessageBox.h"

namespace zavuv::app::widgets {

// The main window's dialog id: translating it re-captions its menu too.
inline constexpr int kMainWindowDialogId = 102;

// Sets the window's title and the texts of its controls from the record for
// `dialogId`; a window without a record keeps its own texts. For the main
// window a missing menu bar is reported with `shower` and the rest goes on.
void TranslateWindow(QWidget* window, int dialogId,
                     const MessageBoxShower& shower = execMessageBox);

// The command item with this id anywhere in the bar's menus, depth first in
// menu order; nullptr when there is none.
QAction* findMenuCommand(const QMenuBar* menuBar, int commandId);

// Command items by id; top-level menus (non-positive ids) by position, so the
// bar keeps the main menu's order: Project, Flash, Eeprom, Settings, Advanced
// and Help last, at the right end. Flash and Eeprom have no row.
void TranslateMenu(QMenuBar* menuBar);

}  // namespace zavuv::app::widgets

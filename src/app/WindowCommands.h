#pragma once
// The commands of the window itself: Exit, the board settings, the language,
// Help and About, the "Inv" and "Inc" boxes, the three lists, the status line,
// and the ids whose dialogs are still to come.

namespace zavuv::app {

class MainDialog;

// A right-button double-click on the window's own surface.
inline constexpr int kAdvancedBoardSettings = 32786;

void addWindowCommands(MainDialog& window);

// What a command whose dialog is not built yet does: says so on the status line.
void notYetAvailable(MainDialog& window);

}  // namespace zavuv::app

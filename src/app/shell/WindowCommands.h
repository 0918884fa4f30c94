#pragma once
// The commands of the window itself: Exit, the board and project settings
// (also a click on the status line), the language, Help and About, the "Inv"
// and "Inc" boxes, the three lists.

namespace zavuv::app::shell {

class MainDialog;

// A right-button double-click on the window's own surface.
inline constexpr int kAdvancedBoardSettings = 32786;

void addWindowCommands(MainDialog& window);

}  // namespace zavuv::app::shell

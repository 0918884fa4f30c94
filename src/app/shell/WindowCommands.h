#pragma once
// The commands of the window itself: Exit, the board and project settings
// (also a click on the status line), the language, Help and About, the "Inv"
// and "Inc" boxes, the three lists.

namespace zavuv::app::shell {

class MainDialog;

void addWindowCommands(MainDialog& window);

}  // namespace zavuv::app::shell

#pragma once
// The Flash and Eeprom menus' file commands and the panes' ">>" and "!"
// buttons: Load, Load At, Reload, Save, Save As and Close of a buffer, each leaving the
// buffer text ("Flash length: ...") on the status line when it worked.

#include <string>

#include "buffers/MemoryBuffer.h"

namespace zavuv::app::shell {

class MainDialog;

void addBufferFileCommands(MainDialog& window);

// Loads the file into the buffer; the buffer text when the buffer took it.
void loadIntoBuffer(MainDialog& window, buffers::MemoryBuffer& buffer, const std::string& path);

}  // namespace zavuv::app::shell

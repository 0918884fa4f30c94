#pragma once
// Which of the main window's chip commands can run now, from the device in the
// lists, the project's device and whether the buffers hold data; and the title.

#include <string>

#include "workspace/Workspace.h"

namespace zavuv::workspace {

struct CommandStates {
    bool readCalibration = false;  // a menu item only
    bool readSignature = false;
    bool readFlash = false;
    bool programFlash = false;  // also Verify Flash
    bool readEeprom = false;
    bool programEeprom = false;  // also Verify EEPROM
    bool chipErase = false;      // also Blank check
    bool autoProgram = false;
};

CommandStates commandStates(const Workspace& ws);

// "path[*] - program title"
std::string windowTitle(const Workspace& ws);

}  // namespace zavuv::workspace

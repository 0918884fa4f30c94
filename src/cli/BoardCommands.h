#pragma once

#include "workspace/Workspace.h"

namespace zavuv::cli {

// `info`: the board's identity and serial number.
int showBoardInfo(workspace::Workspace& workspace);
// `search`: looks for the board on COM1..COM8.
int searchBoard(workspace::Workspace& workspace);

}  // namespace zavuv::cli

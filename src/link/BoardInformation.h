#pragma once

#include "link/BoardConnection.h"

namespace zavuv::link {

// The board-information command: the board's identity and serial number in a
// message box. False when the board could not be read (already reported).
bool showBoardInformation(BoardConnection& connection);

}  // namespace zavuv::link

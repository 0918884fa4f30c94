#pragma once

#include "cli/BoardCommandCatalog.h"

namespace zavuv::cli {

// `info` (the board's identity and serial number) and `search` (the board on
// COM1..COM8).
void addBoardCommands(BoardCommandCatalog& catalog);

}  // namespace zavuv::cli

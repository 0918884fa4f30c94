#pragma once

#include "cli/BoardCommandList.h"

namespace zavuv::cli {

// `info` (the board's identity and serial number) and `search` (the board on
// COM1..COM8).
void registerBoardCommands(CLI::App& app, BoardCommandList& list);

}  // namespace zavuv::cli

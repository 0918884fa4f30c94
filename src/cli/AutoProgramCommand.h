#pragma once

#include "cli/BoardCommandList.h"

namespace zavuv::cli {

// `autoprogram`: the project's auto-program sequence, unattended.
void registerAutoProgramCommand(CLI::App& app, BoardCommandList& list);

}  // namespace zavuv::cli

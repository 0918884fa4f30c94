#pragma once

#include "cli/BoardCommandList.h"

namespace zavuv::cli {

// `signature`, `erase`, `calibration`, `fuses read|program|verify` and
// `update-firmware [--reduced]`.
void registerChipCommands(CLI::App& app, BoardCommandList& list);

}  // namespace zavuv::cli

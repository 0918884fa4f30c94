#pragma once

#include "cli/BoardCommandCatalog.h"

namespace zavuv::cli {

// `signature`, `erase`, `calibration`, `fuses read|program|verify` and
// `update-firmware [--reduced]`.
void addChipCommands(BoardCommandCatalog& catalog);

}  // namespace zavuv::cli

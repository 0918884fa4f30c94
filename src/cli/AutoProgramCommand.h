#pragma once

#include "cli/BoardCommandCatalog.h"

namespace zavuv::cli {

// `autoprogram`: the project's auto-program sequence, unattended.
void addAutoProgramCommand(BoardCommandCatalog& catalog);

}  // namespace zavuv::cli

#pragma once

#include "cli/BoardCommandCatalog.h"

namespace zavuv::cli {

// program-flash, program-eeprom, verify-flash, verify-eeprom [FILE];
// read-flash, read-eeprom OUT; blank-check.
void addMemoryCommands(BoardCommandCatalog& catalog);

}  // namespace zavuv::cli

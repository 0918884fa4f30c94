#pragma once

#include "cli/BoardCommandList.h"

namespace zavuv::cli {

// program-flash, program-eeprom, verify-flash, verify-eeprom [FILE];
// read-flash, read-eeprom OUT; blank-check.
void registerMemoryCommands(CLI::App& app, BoardCommandList& list);

}  // namespace zavuv::cli

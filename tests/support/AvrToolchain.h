#pragma once
// Debian's AVR tool chain (avr-gcc, avr-libc, avr-objcopy) for tests that check
// the file readers against what real tools make.

#include <string>
#include <vector>

#include "support/RunProgram.h"

namespace zavuv::testing {

// The path of a program found on PATH, empty when there is none.
std::string findProgram(const std::string& name);

// Runs a program found on PATH; exit code 127 when it is not there.
ProgramResult runTool(const std::string& name, const std::vector<std::string>& arguments);

// Empty when avr-gcc, avr-libc and avr-objcopy are all installed; else the
// reason to skip, naming the Debian packages that are missing.
std::string missingAvrToolchain();

// Compiles and links one C source for the chip (-mmcu) with -Os into `elf`;
// `extra` goes to avr-gcc as well (e.g. linker options). The result is
// avr-gcc's; its output names what went wrong.
ProgramResult buildAvrProgram(const std::string& source, const std::string& mcu,
                              const std::string& elf, const std::vector<std::string>& extra = {});

}  // namespace zavuv::testing

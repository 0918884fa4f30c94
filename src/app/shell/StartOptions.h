#pragma once
// What the zavuv program is asked to do on its command line: a project to
// open, the switch that runs the automatic sequence, and --simulate.

#include <span>
#include <string>

#include "workspace/CommandLine.h"

namespace zavuv::app::shell {

inline constexpr const char* kSimulateOption = "--simulate";

struct StartOptions {
    workspace::CommandLine commandLine;
    bool simulate = false;  // COM1 is the simulated board for this run
};

// The arguments after the program name. --simulate may stand anywhere; of the
// others the first is the project path and the rest the switch text.
StartOptions startOptionsFromArguments(std::span<const std::string> arguments);

}  // namespace zavuv::app::shell

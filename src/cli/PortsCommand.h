#pragma once
// `zavuv-cli ports`: COM1..COM12 with the device each stands for, whether it is
// there and the adapter's name, then the other serial devices found; a device
// this user may not open says so and how to fix it.

#include <ostream>
#include <vector>

#include "cli/JsonReport.h"
#include "workspace/PortList.h"

namespace zavuv::cli {

void printPorts(const std::vector<workspace::PortListEntry>& ports, std::ostream& out);
Json portsJson(const std::vector<workspace::PortListEntry>& ports);

}  // namespace zavuv::cli

#pragma once

#include <ostream>
#include <string>

#include "text/UserPort.h"

namespace zavuv::cli {

// `project show FILE`: loads the project as the GUI would, buffers included,
// and lists every key as "Section/Key=value" in file order.
int showProject(const std::string& path, UserPort& port, std::ostream& out);

}  // namespace zavuv::cli

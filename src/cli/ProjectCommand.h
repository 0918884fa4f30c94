#pragma once

#include <ostream>
#include <string>

#include "base/UserPort.h"

namespace zavuv::cli {

// `project show FILE`: loads the project as the GUI would, buffers included,
// and lists every key as "Section/Key=value" in file order.
int showProject(const std::string& path, base::UserPort& port, std::ostream& out);

}  // namespace zavuv::cli

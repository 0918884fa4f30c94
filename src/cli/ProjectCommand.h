#pragma once

#include <ostream>
#include <string>

#include "base/UserPort.h"
#include "cli/JsonReport.h"

namespace zavuv::cli {

// `project show FILE`: loads the project as the GUI would, buffers included,
// and lists every key as "Section/Key=value" in file order; with `json` set the
// keys go there instead, one object per section.
int showProject(const std::string& path, base::UserPort& port, std::ostream& out,
                Json* json = nullptr);

}  // namespace zavuv::cli

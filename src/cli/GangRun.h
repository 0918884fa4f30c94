#pragma once
// Several boards at once: the chip command runs on every port given, each board
// with its own workspace, session and thread, its lines marked with its port.
// Ends with one summary line per board and "GANG: n OK, m failed"; exit 0 only
// when every board succeeded.

#include <optional>
#include <string>

#include "cli/BoardCommandCatalog.h"
#include "cli/CliOptions.h"

namespace zavuv::cli {

struct GangRequest {
    const CliOptions& options;
    const BoardCommandEntry& command;
    const CommandArguments& arguments;
    std::string commandName;  // for --json: "autoprogram", "fuses program"
};

int runGang(const GangRequest& request);

}  // namespace zavuv::cli

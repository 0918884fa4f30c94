#pragma once
// A board command on one board: once, or with --repeat unit after unit until
// the operator ends it, each unit logged and reported on its own, then a summary.

#include <istream>
#include <string>

#include "cli/BoardCommandCatalog.h"
#include "cli/CliOptions.h"
#include "cli/RunTranscript.h"
#include "workspace/ProfileStore.h"

namespace zavuv::cli {

struct SingleBoardRequest {
    const CliOptions& options;
    const BoardCommandEntry& command;
    CommandArguments& arguments;
    std::string commandName;    // for --json
    RunTranscript& transcript;  // the unit's words, over the console
    base::UserPort& console;    // the repeat's own lines, which belong to no unit
    std::istream& in;           // Enter between units
    workspace::ProfileStore& profile;
};

int runSingleBoard(const SingleBoardRequest& request);

}  // namespace zavuv::cli

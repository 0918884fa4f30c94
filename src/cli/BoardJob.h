#pragma once
// A board command run on one prepared board, alone or in a gang, as one unit
// of production: logged when there is a log; the facts for --json.

#include <optional>

#include "cli/BoardCommandCatalog.h"
#include "cli/CliSession.h"
#include "cli/JsonReport.h"
#include "cli/RunTranscript.h"
#include "operations/ProductionLog.h"
#include "operations/UnitRecord.h"

namespace zavuv::cli {

struct BoardOutcome {
    int exitCode = 1;
    operations::UnitRecord unit{};
};

// Runs the command (the session stays open for the next unit).
BoardOutcome runBoardJob(CliSession& session, const BoardCommandEntry& command,
                         const CommandArguments& arguments, const RunTranscript& transcript,
                         const operations::ProductionLog* log);

// The unit's facts for --json: the board's serial number, the chip, its
// signature, the serial number programmed, the checksums.
Json unitFactsJson(const operations::UnitRecord& unit);

// The production log of this run: --log, else the project's; nothing without either.
std::optional<operations::ProductionLog> productionLogOf(const CliOptions& options,
                                                         CliSession& session);

}  // namespace zavuv::cli

#include "cli/BoardJob.h"

#include "cli/CliApp.h"
#include "operations/ProductionRun.h"

namespace zavuv::cli {

BoardOutcome runBoardJob(CliSession& session, const BoardCommandEntry& command,
                         const CommandArguments& arguments, const RunTranscript& transcript,
                         const operations::ProductionLog* log) {
    workspace::Workspace& ws = session.workspace();
    BoardOutcome outcome;
    outcome.unit =
        operations::runUnit(ws, log,
                            {.port = session.portLabel().value_or(""),
                             .work =
                                 [&] {
                                     outcome.exitCode = command.run(ws, arguments);
                                     return outcome.exitCode == kExitOk;
                                 },
                             .whyFailed = [&transcript] { return transcript.failureReason(); }});
    if (outcome.exitCode == kExitOk && !outcome.unit.ok)
        outcome.exitCode = kExitFailed;  // the log did not take the line
    return outcome;
}

Json unitFactsJson(const operations::UnitRecord& unit) {
    const auto orNull = [](const std::string& text) { return text.empty() ? Json() : Json(text); };
    return {{"boardSerial", orNull(unit.boardSerial)},
            {"chip", unit.chip},
            {"signature", unit.signature},
            {"serialNumber", orNull(unit.serialNumber)},
            {"checksums",
             {{"flash", orNull(unit.flashChecksum)}, {"eeprom", orNull(unit.eepromChecksum)}}}};
}

std::optional<operations::ProductionLog> productionLogOf(const CliOptions& options,
                                                         CliSession& session) {
    if (!options.log.empty())
        return operations::ProductionLog(options.log);
    const std::string projectLog = session.workspace().project().productionLogPath();
    if (!projectLog.empty())
        return operations::ProductionLog(projectLog);
    return std::nullopt;
}

}  // namespace zavuv::cli

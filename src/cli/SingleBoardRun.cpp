#include "cli/SingleBoardRun.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <thread>

#include "base/StopSignals.h"
#include "cli/BoardJob.h"
#include "cli/CliApp.h"
#include "cli/CliSession.h"
#include "cli/JsonReport.h"
#include "cli/TerminalProgress.h"
#include "operations/ProductionRun.h"
#include "operations/ReadSignatureCommand.h"
#include "text/UiText.h"

namespace zavuv::cli {

namespace {

constexpr auto kProbeInterval = std::chrono::milliseconds(500);

// Enter: the next unit; q and Enter, or the end of the input: no more.
bool operatorWantsNextUnit(const SingleBoardRequest& request) {
    request.console.setStatus(text::GetUiText(text::Msg::RepeatNextUnit));
    std::string line;
    if (!std::getline(request.in, line))
        return false;
    return line.empty() || (line.front() != 'q' && line.front() != 'Q');
}

// Whether the project's chip answers with its signature now; the probe says
// nothing to the person.
bool expectedChipAnswers(workspace::Workspace& ws, RunTranscript& transcript) {
    transcript.setMuted(true);
    const bool read = operations::readSignatureCommand(ws);
    transcript.setMuted(false);
    const auto& expected = ws.projectDeviceInfo().signature;
    const auto& signature = ws.results.signature;
    return read && std::equal(signature.begin(), signature.end(), expected.begin());
}

// --repeat=auto: the chip programmed goes out, the next one comes in. False
// when the operator stopped the run meanwhile (Ctrl-C).
bool nextChipArrived(const SingleBoardRequest& request, workspace::Workspace& ws,
                     const workspace::InlineProgressRunner& progress) {
    for (const bool present : {false, true}) {
        request.console.setStatus(text::GetUiText(present ? text::Msg::RepeatWaitingForChip
                                                          : text::Msg::RepeatWaitingForRemoval));
        while (expectedChipAnswers(ws, request.transcript) != present) {
            if (progress.stopRequested())
                return false;
            std::this_thread::sleep_for(kProbeInterval);
        }
    }
    return !progress.stopRequested();
}

}  // namespace

int runSingleBoard(const SingleBoardRequest& request) {
    const CliOptions& options = request.options;
    const auto started = std::chrono::steady_clock::now();
    Json data;
    if (options.json)
        request.arguments.data = &data;
    CliSession session(options, request.transcript, request.profile);
    const auto report = [&](int exitCode, const operations::UnitRecord* unit) {
        if (!options.json)
            return;
        CommandReport object{.command = request.commandName,
                             .port = session.portLabel(),
                             .exitCode = exitCode,
                             .transcript = &request.transcript,
                             .facts = unit ? unitFactsJson(*unit) : Json::object(),
                             .data = data};
        object.durationSeconds =
            unit
                ? unit->durationSeconds
                : std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        printJsonLine(std::cout, reportJson(object));
    };
    const auto endWithoutUnit = [&](int exitCode) {
        exitCode = session.finish(exitCode);
        report(exitCode, nullptr);
        return exitCode;
    };

    if (const auto failed = session.prepare())
        return endWithoutUnit(*failed);
    const std::optional<operations::ProductionLog> log = productionLogOf(options, session);
    if (log && !operations::productionLogUsable(*log, request.transcript))
        return endWithoutUnit(kExitUsage);
    const operations::ProductionLog* logged = log ? &*log : nullptr;

    TerminalProgressDisplay progressDisplay(stderr);
    workspace::InlineProgressRunner progress(progressDisplay);
    session.workspace().setProgressRunner(progress);
    const base::StopOnSignals signals(progress);

    if (request.arguments.repeat.empty()) {
        BoardOutcome outcome =
            runBoardJob(session, request.command, request.arguments, request.transcript, logged);
        outcome.exitCode = session.finish(outcome.exitCode);
        report(outcome.exitCode, &outcome.unit);
        return outcome.exitCode;
    }

    int succeeded = 0;
    int failed = 0;
    for (int unit = 1;; ++unit) {
        request.transcript.clear();
        data = Json();
        request.console.setStatus(text::formatUiText(text::Msg::RepeatUnit, unit));
        const BoardOutcome outcome =
            runBoardJob(session, request.command, request.arguments, request.transcript, logged);
        ++(outcome.exitCode == kExitOk ? succeeded : failed);
        report(outcome.exitCode, &outcome.unit);
        if (progress.stopRequested())
            break;
        const bool next = request.arguments.repeat == "auto"
                              ? nextChipArrived(request, session.workspace(), progress)
                              : operatorWantsNextUnit(request);
        if (!next)
            break;
    }
    request.console.setStatus(text::formatUiText(text::Msg::RepeatSummary, succeeded, failed));
    return session.finish(failed == 0 ? kExitOk : kExitFailed);
}

}  // namespace zavuv::cli

#include "operations/ProductionRun.h"

#include <chrono>
#include <optional>

#include "operations/AutoProgram.h"
#include "text/UiText.h"

namespace zavuv::operations {

namespace {

void reportLogFailure(base::UserPort& user, const std::string& path, const std::string& reason) {
    user.showMessage(text::formatUiText(text::Msg::ProductionLogUnwritable, path, reason),
                     base::MessageIcon::Error, text::GetUiText(text::Msg::ProgrammerCaption));
}

}  // namespace

UnitRecord runUnit(workspace::Workspace& ws, const ProductionLog* log, const UnitJob& job) {
    const auto started = std::chrono::steady_clock::now();
    const std::string time = utcTimestamp();
    // Nothing read yet for this unit: a run that never reads the signature
    // leaves the log's field empty rather than claiming FF FF FF.
    ws.results.signature = kSignatureNotRead;
    const bool ok = (!log || ws.connection().readBoardIdentity(false)) && job.work();
    UnitRecord unit = describeUnit(ws, ok);
    unit.time = time;
    unit.port = job.port;
    if (!ok)
        unit.error = job.whyFailed();
    unit.durationSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (log) {
        if (const std::string failure = log->append(unit); !failure.empty()) {
            reportLogFailure(ws.user(), log->path(), failure);
            unit.ok = false;
        }
    }
    return unit;
}

bool productionLogUsable(const ProductionLog& log, base::UserPort& user) {
    const std::string failure = log.check();
    if (failure.empty())
        return true;
    reportLogFailure(user, log.path(), failure);
    return false;
}

bool autoProgramLogged(workspace::Workspace& ws, bool unattended) {
    std::optional<text::Msg> failure;
    const auto run = [&ws, unattended, &failure] {
        if (unattended)
            return autoProgramUnattended(ws);
        ws.results.autoprogramOk = false;
        failure = autoProgram(ws).failureKey;
        return ws.results.autoprogramOk;
    };
    const std::string path = ws.project().productionLogPath();
    if (path.empty())
        return run();
    const ProductionLog log(path);
    ws.results.autoprogramOk = false;
    if (!productionLogUsable(log, ws.user()))
        return false;
    const UnitRecord unit = runUnit(
        ws, &log,
        {.port = "COM" + std::to_string(ws.comPort()), .work = run, .whyFailed = [&failure] {
             return std::string(text::GetUiText(failure.value_or(text::Msg::AutoProgramError)));
         }});
    ws.results.autoprogramOk = unit.ok;  // a line the log did not take fails the run
    return unit.ok;
}

}  // namespace zavuv::operations

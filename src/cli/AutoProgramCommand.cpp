#include "cli/AutoProgramCommand.h"

#include "cli/CliApp.h"
#include "operations/AutoProgram.h"
#include "text/UiText.h"

namespace zavuv::cli {

namespace {
constexpr int kAutoProgramOk = 1190;
constexpr int kAutoProgramError = 1191;
}  // namespace

void registerAutoProgramCommand(CLI::App& app, BoardCommandList& list) {
    list.add(app.add_subcommand("autoprogram", "run the project's auto-program sequence"),
             [](workspace::Workspace& ws) {
                 const bool ok = operations::autoProgramUnattended(ws);
                 // The verdict a production script looks for, as the desktop shows it.
                 ws.user().setStatus(text::GetUiText(ok ? kAutoProgramOk : kAutoProgramError));
                 return ok ? kExitOk : kExitFailed;
             });
}

}  // namespace zavuv::cli

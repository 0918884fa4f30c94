#include "cli/AutoProgramCommand.h"

#include "cli/CliApp.h"
#include "operations/AutoProgram.h"
#include "text/UiText.h"

namespace zavuv::cli {

void registerAutoProgramCommand(CLI::App& app, BoardCommandList& list) {
    list.add(app.add_subcommand("autoprogram", "run the project's auto-program sequence"),
             [](workspace::Workspace& ws) {
                 const bool ok = operations::autoProgramUnattended(ws);
                 // The verdict a production script looks for, as the desktop shows it.
                 ws.user().setStatus(
                     text::GetUiText(ok ? text::Msg::AutoProgramOk : text::Msg::AutoProgramError));
                 return ok ? kExitOk : kExitFailed;
             });
}

}  // namespace zavuv::cli

#include "cli/AutoProgramCommand.h"

#include "cli/CliApp.h"
#include "operations/AutoProgram.h"
#include "text/UiText.h"

namespace zavuv::cli {

void addAutoProgramCommand(BoardCommandCatalog& catalog) {
    catalog.add(
        {.name = "autoprogram",
         .description = "run the project's auto-program sequence",
         .flags = {{kForceLockout, "program lock and fuse bits that can lock the chip out"}},
         .gang = true,
         .repeatable = true,
         .run = [](workspace::Workspace& ws, const CommandArguments& arguments) {
             const bool ok = operations::autoProgramUnattended(ws, arguments.has(kForceLockout));
             // The verdict a production script looks for, as the desktop shows it.
             ws.user().setStatus(
                 text::GetUiText(ok ? text::Msg::AutoProgramOk : text::Msg::AutoProgramError));
             return ok ? kExitOk : kExitFailed;
         }});
}

}  // namespace zavuv::cli

#include "cli/BoardCommands.h"

#include "cli/CliApp.h"
#include "link/BoardInformation.h"

namespace zavuv::cli {

void addBoardCommands(BoardCommandCatalog& catalog) {
    catalog.add({.name = "info",
                 .description = "the board's identity and serial number",
                 .run = [](workspace::Workspace& ws, const CommandArguments&) {
                     return link::showBoardInformation(ws.connection()) ? kExitOk : kExitFailed;
                 }});
    catalog.add({.name = "search",
                 .description = "look for the board on COM1..COM8",
                 .run = [](workspace::Workspace& ws, const CommandArguments&) {
                     ws.connection().searchBoard();
                     return ws.comPort() != 0 ? kExitOk : kExitFailed;
                 }});
}

}  // namespace zavuv::cli

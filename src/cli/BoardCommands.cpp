#include "cli/BoardCommands.h"

#include "cli/CliApp.h"
#include "link/BoardInformation.h"

namespace zavuv::cli {

void registerBoardCommands(CLI::App& app, BoardCommandList& list) {
    list.add(app.add_subcommand("info", "the board's identity and serial number"),
             [](workspace::Workspace& ws) {
                 return link::showBoardInformation(ws.connection()) ? kExitOk : kExitFailed;
             });
    list.add(app.add_subcommand("search", "look for the board on COM1..COM8"),
             [](workspace::Workspace& ws) {
                 ws.connection().searchBoard();
                 return ws.comPort() != 0 ? kExitOk : kExitFailed;
             });
}

}  // namespace zavuv::cli

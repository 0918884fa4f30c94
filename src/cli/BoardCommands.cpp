#include "cli/BoardCommands.h"

#include "cli/CliApp.h"
#include "link/BoardInformation.h"

namespace zavuv::cli {

int showBoardInfo(workspace::Workspace& workspace) {
    return link::showBoardInformation(workspace.connection()) ? kExitOk : kExitFailed;
}

int searchBoard(workspace::Workspace& workspace) {
    workspace.connection().searchBoard();
    return workspace.comPort() != 0 ? kExitOk : kExitFailed;
}

}  // namespace zavuv::cli

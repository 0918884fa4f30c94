#include "app/ChipOperationCommands.h"

#include <functional>

#include "app/MainDialog.h"
#include "app/WindowCommands.h"
#include "link/BoardInformation.h"

namespace zavuv::app {

namespace {

using Operation = std::function<void(workspace::Workspace&)>;

void runOperation(MainDialog& window, const Operation& operation) {
    window.prepareSimulatedBoard();
    operation(window.workspace());
    window.UpdateControls();
}

}  // namespace

void runAutoProgramUnattended(MainDialog& window) {
    notYetAvailable(window);
}

void addChipOperationCommands(MainDialog& window) {
    CommandTable& table = window.commands();
    const auto route = [&table, &window](int id, Operation operation) {
        table.add(id,
                  [&window, operation = std::move(operation)] { runOperation(window, operation); });
    };
    route(32901, [](workspace::Workspace& ws) { link::showBoardInformation(ws.connection()); });
    route(32788, [](workspace::Workspace& ws) { ws.connection().searchBoard(); });
    // The operations still to come.
    for (const int id : {1009, 1011, 1010, 1012, 1013, 1014, 1008, 1015, 32779, 32777, 1103, 32904})
        table.add(id, [&window] { notYetAvailable(window); });
}

}  // namespace zavuv::app

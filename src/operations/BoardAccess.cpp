#include "operations/BoardAccess.h"

#include "link/LinkMessages.h"

namespace zavuv::operations {

bool requireBoard(workspace::Workspace& ws) {
    if (ws.comPort() != 0)
        return true;
    auto& messages = ws.connection().messages();
    messages.status(link::msg::kSelectPort);
    messages.box(link::msg::kNoBoardSpecified);
    return false;
}

bool connect(workspace::Workspace& ws, link::SpeedCode speed) {
    return ws.connection().connectTarget(ws.targetOptions(), ws.comPort(), speed);
}

link::SpeedCode memorySpeed(const workspace::Workspace& ws) {
    if (ws.selectedDeviceInfo().isAt45())
        return link::SpeedCode::Baud19200;
    return static_cast<link::SpeedCode>(ws.baudIndex);
}

bool endSessionWarning(workspace::Workspace& ws) {
    if (ws.link().endSession())
        return true;
    ws.connection().messages().box(link::msg::kIncorrectDisconnection);
    return false;
}

}  // namespace zavuv::operations

#include "operations/BoardAccess.h"

#include "chips/ChipDriver.h"
#include "chips/TargetConnect.h"
#include "link/LinkMessages.h"

namespace zavuv::operations {

bool requireBoard(workspace::Workspace& ws) {
    if (ws.comPort() != 0)
        return true;
    auto& messages = ws.connection().messages();
    messages.status(text::Msg::SelectPort);
    messages.box(text::Msg::NoBoardSpecified);
    return false;
}

bool connect(workspace::Workspace& ws, link::SpeedCode speed) {
    return chips::connectTarget(ws.connection(), ws.targetOptions(), ws.comPort(), speed);
}

link::SpeedCode memorySpeed(const workspace::Workspace& ws) {
    if (chips::driverFor(ws.selectedDeviceInfo()).abilities().fixedMemorySpeed)
        return link::SpeedCode::Baud19200;
    return static_cast<link::SpeedCode>(ws.baudIndex);
}

chips::ChipSession chipSession(workspace::Workspace& ws, const devices::DeviceInfo& device) {
    return {.link = ws.link(),
            .messages = ws.connection().messages(),
            .device = device,
            .project = ws.project(),
            .boardDelays = ws.boardDelays};
}

bool endSessionWarning(workspace::Workspace& ws) {
    if (ws.link().endSession())
        return true;
    ws.connection().messages().box(text::Msg::IncorrectDisconnection);
    return false;
}

}  // namespace zavuv::operations

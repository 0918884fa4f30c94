// Writing lock and fuse bits into the chip through its driver.

#include "operations/LockFuseOnChip.h"

#include "chips/ChipDriver.h"
#include "operations/BoardAccess.h"
#include "text/UiText.h"

namespace zavuv::operations {

namespace {}  // namespace

bool programLockFuse(workspace::Workspace& ws, const devices::LockFuseState& state,
                     bool programFuses) {
    base::BusyScope busy(ws.user());
    auto& messages = ws.connection().messages();
    if (!requireBoard(ws))
        return false;
    const devices::LockFuseLayout* layout = projectLockFuseLayout(ws);
    if (!layout) {
        // A chip without lock or fuse bits: nothing could be written.
        messages.box(text::Msg::ErrorProgrammingLockFuse);
        return false;
    }
    if (!connect(ws, link::SpeedCode::Baud19200))
        return false;

    const devices::DeviceInfo& device = ws.projectDeviceInfo();
    const chips::ChipDriver& driver = chips::driverFor(device);
    const chips::LockFuseWrite outcome =
        driver.programLockFuse(chipSession(ws, device), *layout, state, programFuses);
    endSessionWarning(ws);
    if (outcome == chips::LockFuseWrite::Refused && driver.abilities().lockRefusalAfterSession)
        messages.box(text::Msg::ErrorProgrammingLockFuse);
    if (outcome != chips::LockFuseWrite::Acknowledged)
        return false;
    messages.box(text::Msg::LockFuseProgrammed);
    return true;
}

}  // namespace zavuv::operations

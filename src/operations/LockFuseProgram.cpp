// Writing lock and fuse bits into the chip through its driver, and reading the
// fuse bytes back.

#include "operations/LockFuseOnChip.h"

#include "chips/ChipDriver.h"
#include "devices/FuseCoding.h"
#include "operations/BoardAccess.h"
#include "text/UiText.h"

namespace zavuv::operations {

namespace {

using devices::FuseByte;

constexpr FuseByte kFuseBytes[] = {FuseByte::Low, FuseByte::High, FuseByte::Extended};

// Written fuses take effect at the chip's next reset, but read back at once:
// a byte that reads otherwise was not taken (SPIEN, which serial programming
// cannot change, for one). False after naming the first such byte in a box.
bool fuseBytesReadBack(workspace::Workspace& ws, const chips::ChipDriver& driver,
                       const devices::DeviceInfo& device, const devices::LockFuseLayout& layout,
                       const devices::LockFuseState& written) {
    devices::LockFuseState onChip;
    if (!driver.readLockFuse(chipSession(ws, device), layout, onChip)) {
        ws.connection().messages().box(text::Msg::ConnectionError);
        return false;
    }
    for (FuseByte which : kFuseBytes) {
        const auto wanted = devices::fuseByteValue(layout, which, written);
        const auto read = devices::fuseByteValue(layout, which, onChip);
        if (wanted && read && *wanted != *read) {
            ws.connection().messages().box(text::formatUiText(text::Msg::FuseReadBackMismatch,
                                                              fuseByteName(which), *wanted, *read));
            return false;
        }
    }
    return true;
}

// The chip reports its fuse bytes back, so a write can be checked.
bool readsFusesBack(const devices::LockFuseLayout& layout) {
    return layout.lockReadable && layout.fuseCount > 0 && !devices::fuseReadOrder(layout).empty();
}

}  // namespace

std::string fuseByteName(FuseByte which) {
    switch (which) {
    case FuseByte::Low:
        return text::GetUiText(text::Msg::LowFuseByte);
    case FuseByte::High:
        return text::GetUiText(text::Msg::HighFuseByte);
    case FuseByte::Extended:
        break;
    }
    return text::GetUiText(text::Msg::ExtendedFuseByte);
}

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
    const bool readBack = outcome == chips::LockFuseWrite::Acknowledged && programFuses &&
                          readsFusesBack(*layout) &&
                          fuseBytesReadBack(ws, driver, device, *layout, state);
    endSessionWarning(ws);
    if (outcome == chips::LockFuseWrite::Refused && driver.abilities().lockRefusalAfterSession)
        messages.box(text::Msg::ErrorProgrammingLockFuse);
    if (outcome != chips::LockFuseWrite::Acknowledged)
        return false;
    if (programFuses && readsFusesBack(*layout) && !readBack)
        return false;
    messages.box(text::Msg::LockFuseProgrammed);
    return true;
}

}  // namespace zavuv::operations

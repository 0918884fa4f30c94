#include "operations/ChipErase.h"

#include "chips/ChipDriver.h"
#include "link/LinkMessages.h"
#include "operations/BoardAccess.h"
#include "operations/Signature.h"
#include "operations/SignatureGate.h"
#include "text/UiText.h"

namespace zavuv::operations {

namespace {

// The chip needs this long after the erase before it enters programming mode again.
constexpr int kRecheckPauseMs = 85;

// A chip that was locked reads 00 01 02 as long as the erase did not take.
void recheckSignature(workspace::Workspace& ws) {
    auto& messages = ws.connection().messages();
    workspace::OperationStatus& status = ws.results.lastOperationStatus;
    messages.status(text::Msg::CheckingSignature);
    ws.link().pause(kRecheckPauseMs);
    if (!connect(ws, link::SpeedCode::Baud19200)) {
        ws.link().endSession();
        return;
    }
    if (!readSignature(ws)) {
        messages.box(text::Msg::ErrorReadingSignature);
        status = workspace::OperationStatus::Succeeded;
        messages.status(text::Msg::DeviceErased);
        ws.link().endSession();
        return;
    }
    endSessionWarning(ws);
    const SignatureBytes signature = ws.results.signature;
    if (isLockedSignature(signature)) {
        messages.status(text::Msg::NotErasedLocked);
        status = workspace::OperationStatus::Failed;
        messages.box(text::Msg::StillLocked);
        return;
    }
    messages.status(text::formatUiText(text::Msg::ErasedWithSignature, signature[0], signature[1],
                                       signature[2], signatureText(ws, signature)));
    status = workspace::OperationStatus::Succeeded;
}

}  // namespace

void chipErase(workspace::Workspace& ws) {
    base::BusyScope busy(ws.user());
    auto& messages = ws.connection().messages();
    ws.results.lastOperationStatus = workspace::OperationStatus::Failed;
    const devices::DeviceInfo& device = ws.selectedDeviceInfo();
    const chips::ChipDriver& driver = chips::driverFor(device);
    if (!driver.abilities().chipErase) {
        // The AVR erase instruction would erase nothing on such a chip.
        messages.box(text::formatUiText(text::Msg::NoChipErase, device.name));
        return;
    }
    messages.status(text::Msg::ErasingDevice);
    if (!requireBoard(ws))
        return;
    if (!connect(ws, link::SpeedCode::Baud19200)) {
        ws.link().endSession();
        return;
    }
    // The command line's erase before programming: never another chip unasked.
    if (ws.signatureBeforeMemoryCommands &&
        !signatureAllowsMemoryCommand(ws, false, text::Msg::EraseTerminated))
        return;
    const chips::EraseResult result = driver.erase(chipSession(ws, device), ws.progressRunner());
    ws.link().endSession();
    switch (result) {
    case chips::EraseResult::LinkFailure:
        messages.connectionError();
        return;
    case chips::EraseResult::Cancelled:
        messages.status(text::Msg::EraseTerminated);
        return;
    case chips::EraseResult::Erased:
        break;
    }
    if (driver.abilities().recheckAfterErase) {
        recheckSignature(ws);
        return;
    }
    messages.status(text::Msg::DeviceErased);
    ws.results.lastOperationStatus = workspace::OperationStatus::Succeeded;
}

}  // namespace zavuv::operations

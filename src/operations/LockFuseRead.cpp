// Reading lock and fuse bits from the chip.

#include "operations/LockFuseOnChip.h"

#include <optional>

#include "chips/ChipDriver.h"
#include "link/LinkMessages.h"
#include "operations/BoardAccess.h"
#include "operations/Signature.h"
#include "text/UiText.h"

namespace zavuv::operations {

using devices::LockFuseLayout;
using devices::LockFuseState;

namespace {

enum class SignatureCheck { Accepted, Declined, Unreadable };

bool isSelectedDevice(workspace::Workspace& ws, const SignatureBytes& read) {
    const devices::DeviceInfo& selected = ws.selectedDeviceInfo();
    const devices::Signature signature{static_cast<std::uint8_t>(read[0]),
                                       static_cast<std::uint8_t>(read[1]),
                                       static_cast<std::uint8_t>(read[2])};
    return signature == selected.signature || signature == selected.altSignature;
}

// Reads the signature on the open session; a chip other than the selected
// one (or a locked one) goes on only when the person says so.
SignatureCheck checkSignature(workspace::Workspace& ws) {
    if (!readSignature(ws))
        return SignatureCheck::Unreadable;
    if (isSelectedDevice(ws, ws.results.signature))
        return SignatureCheck::Accepted;
    const base::Answer answer = ws.user().ask(
        text::GetUiText(text::Msg::ContinueOtherChipQuestion), base::QuestionButtons::YesNo,
        base::MessageIcon::Question, base::Answer::No, text::GetUiText(text::Msg::ProgramTitle));
    return answer == base::Answer::Yes ? SignatureCheck::Accepted : SignatureCheck::Declined;
}

// Ends the session of a read that cannot go on; always false.
bool giveUp(workspace::Workspace& ws, LockFuseState& state, std::optional<text::Msg> statusKey,
            std::optional<text::Msg> boxKey) {
    ws.link().endSession();
    state = {};
    if (statusKey)
        ws.connection().messages().status(*statusKey);
    if (boxKey)
        ws.connection().messages().box(*boxKey);
    return false;
}

// The signature check on the open session; false when the read cannot go on
// (the session then ended and the reason reported).
bool signatureAccepted(workspace::Workspace& ws, LockFuseState& state, text::Msg unreadableBox) {
    switch (checkSignature(ws)) {
    case SignatureCheck::Unreadable:
        return giveUp(ws, state, std::nullopt, unreadableBox);
    case SignatureCheck::Declined:
        return giveUp(ws, state, text::Msg::OperationCancelled, std::nullopt);
    case SignatureCheck::Accepted:
        break;
    }
    return true;
}

// A chip without readable bits may still have its signature checked, so that
// the person learns of a wrong or locked chip before editing its bits.
bool reportNotReadable(workspace::Workspace& ws, const chips::ChipDriver& driver,
                       LockFuseState& state) {
    auto& messages = ws.connection().messages();
    if (driver.abilities().signatureBeforeLockFuse) {
        messages.status(text::Msg::VerifyingSignature);
        if (!connect(ws, link::SpeedCode::Baud19200))
            return false;
        if (!signatureAccepted(ws, state, text::Msg::ConnectionError))
            return false;
        endSessionWarning(ws);
    }
    messages.box(text::Msg::LockFuseNotReadable);
    return true;
}

}  // namespace

const devices::LockFuseLayout* projectLockFuseLayout(const workspace::Workspace& ws) {
    return devices::layoutOf(ws.targetOptions().deviceNo);
}

bool readLockFuse(workspace::Workspace& ws, LockFuseState& state) {
    state = {};
    base::BusyScope busy(ws.user());
    const devices::DeviceInfo& device = ws.projectDeviceInfo();
    const chips::ChipDriver& driver = chips::driverFor(device);
    const LockFuseLayout* layout = projectLockFuseLayout(ws);
    if (!layout || !layout->lockReadable)
        return reportNotReadable(ws, driver, state);

    state.readable = true;
    if (!connect(ws, link::SpeedCode::Baud19200)) {
        state = {};
        return false;
    }
    if (driver.abilities().signatureBeforeLockFuse &&
        !signatureAccepted(ws, state, text::Msg::ConnectionErrorReadingSignature))
        return false;
    if (!driver.readLockFuse(chipSession(ws, device), *layout, state))
        return giveUp(ws, state, std::nullopt, text::Msg::ConnectionError);
    endSessionWarning(ws);
    return true;
}

}  // namespace zavuv::operations

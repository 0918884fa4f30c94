#include "operations/ReadSignatureCommand.h"

#include "chips/ChipDriver.h"
#include "link/LinkMessages.h"
#include "operations/BoardAccess.h"
#include "operations/Signature.h"
#include "text/UiText.h"

namespace zavuv::operations {

namespace {}  // namespace

bool readSignatureCommand(workspace::Workspace& ws) {
    base::BusyScope busy(ws.user());
    auto& messages = ws.connection().messages();
    messages.status(text::Msg::ReadingSignature);
    if (!requireBoard(ws) || !connect(ws, link::SpeedCode::Baud19200))
        return false;
    const chips::ChipDriver& driver = chips::driverFor(ws.projectDeviceInfo());
    if (!driver.readSignature(ws.link(), ws.results.signature)) {
        // Said aloud, and the target released: a silent end would leave
        // "Connection accepted" on the status line and the chip held in reset.
        ws.link().endSession();
        messages.connectionError();
        return false;
    }
    endSessionWarning(ws);
    const SignatureBytes signature = ws.results.signature;
    if (isLockedSignature(signature)) {
        messages.status(text::Msg::SignatureLocked);
        return false;
    }
    messages.status(text::formatUiText(text::Msg::SignatureShown, signature[0], signature[1],
                                       signature[2], signatureText(ws, signature)));
    return true;
}

bool readSignatureButton(workspace::Workspace& ws) {
    switch (chips::driverFor(ws.selectedDeviceInfo()).abilities().signatureRead) {
    case chips::SignatureRead::Connect: {
        base::BusyScope busy(ws.user());
        if (!requireBoard(ws) || !connect(ws, link::SpeedCode::Baud19200))
            return false;
        endSessionWarning(ws);
        return true;
    }
    case chips::SignatureRead::Instruction:
        return readSignatureCommand(ws);
    case chips::SignatureRead::None:
        break;
    }
    return false;
}

}  // namespace zavuv::operations

#include "operations/ReadSignatureCommand.h"

#include <string_view>

#include "link/LinkMessages.h"
#include "operations/BoardAccess.h"
#include "operations/Signature.h"
#include "text/UiText.h"

namespace zavuv::operations {

using devices::ProgAlgorithm;
using link::BoardCommand;

namespace {

constexpr std::uint8_t kAt89SReadSignature = 0x28;
// The AT89S8253 keeps its signature bytes at 30h..32h, addressed by the third
// instruction byte; the AT89S51 family at 000h, 100h and 200h.
constexpr std::uint8_t kAt89S8253SignatureAddress = 0x30;

constexpr int kReadingSignature = 1110;
constexpr int kDeviceLocked = 1111;
constexpr int kSignatureShown = 1061;

bool usesAt89SSignatureRead(const devices::DeviceInfo& device) {
    return device.algorithm == ProgAlgorithm::At89S51 ||
           device.algorithm == ProgAlgorithm::At89S8253;
}

bool readAt89SSignature(workspace::Workspace& ws, const devices::DeviceInfo& device) {
    auto& signature = ws.results.signature;
    signature = {0xFF, 0xFF, 0xFF};
    const bool at89s8253 = std::string_view(device.name) == "AT89S8253";
    for (std::uint8_t i = 0; i < 3; ++i) {
        const bool sent =
            at89s8253 ? ws.link().send(BoardCommand::CMD_SPI_READ,
                                       {kAt89SReadSignature, 0x00,
                                        static_cast<std::uint8_t>(kAt89S8253SignatureAddress + i)})
                      : ws.link().send(BoardCommand::CMD_SPI_READ, {kAt89SReadSignature, i, 0x00});
        if (!sent)
            return false;
        const int value = ws.link().receiveByte();
        if (value < 0)
            return false;
        signature[i] = value;
    }
    return true;
}

}  // namespace

bool readSignatureCommand(workspace::Workspace& ws) {
    base::BusyScope busy(ws.user());
    auto& messages = ws.connection().messages();
    messages.status(kReadingSignature);
    if (!requireBoard(ws) || !connect(ws, link::SpeedCode::Baud19200))
        return false;
    const devices::DeviceInfo& device = ws.projectDeviceInfo();
    const bool read =
        usesAt89SSignatureRead(device) ? readAt89SSignature(ws, device) : readSignature(ws);
    if (!read) {
        // Said aloud, and the target released: a silent end would leave
        // "Connection accepted" on the status line and the chip held in reset.
        ws.link().endSession();
        messages.connectionError();
        return false;
    }
    endSessionWarning(ws);
    const SignatureBytes signature = ws.results.signature;
    if (isLockedSignature(signature)) {
        messages.status(kDeviceLocked);
        return false;
    }
    messages.status(text::formatUiText(kSignatureShown, signature[0], signature[1], signature[2],
                                       signatureText(ws, signature)));
    return true;
}

bool readSignatureButton(workspace::Workspace& ws) {
    const devices::DeviceInfo& device = ws.selectedDeviceInfo();
    if (device.isAt45()) {
        base::BusyScope busy(ws.user());
        if (!requireBoard(ws) || !connect(ws, link::SpeedCode::Baud19200))
            return false;
        endSessionWarning(ws);
        return true;
    }
    if (device.canReadSignature())
        return readSignatureCommand(ws);
    return false;
}

}  // namespace zavuv::operations

#include "operations/Signature.h"

#include "link/LinkMessages.h"
#include "text/UiText.h"

namespace zavuv::operations {

using devices::DeviceTable;

namespace {
constexpr std::uint8_t kReadSignatureByte = 0x30;
}  // namespace

bool isLockedSignature(const SignatureBytes& bytes) {
    return bytes == SignatureBytes{0x00, 0x01, 0x02};
}

bool readSignature(workspace::Workspace& ws) {
    auto& signature = ws.results.signature;
    signature = {0xFF, 0xFF, 0xFF};
    auto& link = ws.link();
    for (std::uint8_t i = 0; i < 3; ++i) {
        if (!link.send(link::BoardCommand::CMD_SPI_READ, {kReadSignatureByte, 0x00, i}))
            return false;
        const int value = link.receiveByte();
        if (value < 0)
            return false;
        signature[i] = value;
    }
    return true;
}

std::string signatureText(workspace::Workspace& ws, const SignatureBytes& bytes) {
    const auto b = [&](int i) { return static_cast<std::uint8_t>(bytes[i]); };
    const int found = DeviceTable::findBySignature(b(0), b(1), b(2));
    if (found >= 0) {
        ws.selectDevice(found);  // the lists follow the chip
        return DeviceTable::at(found).name;
    }
    return text::GetUiText(bytes[0] == 0x1E ? 1079 : 1081);
}

void verifySignature(workspace::Workspace& ws) {
    int& status = ws.results.lastOperationStatus;
    status = -1;
    if (!readSignature(ws)) {
        ws.connection().messages().box(1120);
        return;
    }
    const SignatureBytes& s = ws.results.signature;
    if (isLockedSignature(s)) {
        status = 2;
        return;
    }
    const int found = DeviceTable::findBySignature(static_cast<std::uint8_t>(s[0]),
                                                   static_cast<std::uint8_t>(s[1]),
                                                   static_cast<std::uint8_t>(s[2]));
    status = found == ws.selectedDevice() ? 0 : 1;
}

}  // namespace zavuv::operations

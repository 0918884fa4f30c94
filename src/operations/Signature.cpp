#include "operations/Signature.h"

#include "chips/ChipDriver.h"
#include "link/LinkMessages.h"
#include "text/UiText.h"

namespace zavuv::operations {

using devices::DeviceTable;

bool isLockedSignature(const SignatureBytes& bytes) {
    return bytes == SignatureBytes{0x00, 0x01, 0x02};
}

bool readSignature(workspace::Workspace& ws) {
    return chips::ChipDriver::readCheckedSignature(ws.link(), ws.results.signature);
}

std::string signatureText(workspace::Workspace& ws, const SignatureBytes& bytes) {
    const auto b = [&](int i) { return static_cast<std::uint8_t>(bytes[i]); };
    const int found = DeviceTable::findBySignature(b(0), b(1), b(2));
    if (found >= 0) {
        ws.selectDevice(found);  // the lists follow the chip
        return DeviceTable::at(found).name;
    }
    return text::GetUiText(bytes[0] == 0x1E ? text::Msg::UnknownAtmelDevice
                                            : text::Msg::UnknownDevice);
}

namespace {

void judgeSignature(workspace::Workspace& ws, bool read) {
    workspace::OperationStatus& status = ws.results.lastOperationStatus;
    status = workspace::OperationStatus::Failed;
    if (!read) {
        ws.connection().messages().box(text::Msg::SignatureReadError);
        return;
    }
    const SignatureBytes& s = ws.results.signature;
    if (isLockedSignature(s)) {
        status = workspace::OperationStatus::Locked;
        return;
    }
    const int found = DeviceTable::findBySignature(static_cast<std::uint8_t>(s[0]),
                                                   static_cast<std::uint8_t>(s[1]),
                                                   static_cast<std::uint8_t>(s[2]));
    status = found == ws.selectedDevice() ? workspace::OperationStatus::Succeeded
                                          : workspace::OperationStatus::OtherChip;
}

}  // namespace

void verifySignature(workspace::Workspace& ws) {
    judgeSignature(ws, readSignature(ws));
}

void verifyChipSignature(workspace::Workspace& ws) {
    judgeSignature(
        ws,
        chips::driverFor(ws.selectedDeviceInfo()).readSignature(ws.link(), ws.results.signature));
}

}  // namespace zavuv::operations

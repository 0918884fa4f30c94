#include "operations/ChipErase.h"

#include "link/LinkMessages.h"
#include "operations/BoardAccess.h"
#include "operations/DataFlashErase.h"
#include "operations/Signature.h"
#include "text/UiText.h"

namespace zavuv::operations {

using devices::ProgAlgorithm;
using link::BoardCommand;

namespace {

constexpr std::uint8_t kAvrChipErase[] = {0xAC, 0x80, 0x04, 0x00};
// The AT89S8252 and AT89S53 erase instruction; the board takes the trailing
// byte as a command of its own and ignores it.
constexpr std::uint8_t kAt89S8252ChipErase[] = {0xAC, 0x04, 0x00, 0x00};
// Loads an erased Flash byte between the two erase instructions of a chip that takes two.
constexpr std::uint8_t kAtTiny26FlashWrite[] = {0x40, 0x00, 0x00, 0xFF};
constexpr int kAtTiny26WritePauseMs = 7;

constexpr int kEraseAckPauseMs = 10;
constexpr int kEraseEndPauseMs = 15;
// The chip needs this long after the erase before it enters programming mode again.
constexpr int kRecheckPauseMs = 85;

constexpr int kErasingDevice = 1075;
constexpr int kCheckingSignature = 1077;
constexpr int kErrorReadingSignature = 1078;
constexpr int kDeviceErased = 1046;
constexpr int kErasedWithSignature = 1043;
constexpr int kNotErasedLocked = 1044;
constexpr int kStillLocked = 1045;
constexpr int kEraseTerminated = 1185;

bool sendEraseInstructions(workspace::Workspace& ws, const devices::DeviceInfo& device) {
    auto& link = ws.link();
    if (device.algorithm == ProgAlgorithm::At89S8252 || device.algorithm == ProgAlgorithm::At89S53)
        return link.send(BoardCommand::CMD_SPI3, kAt89S8252ChipErase);
    if (device.eraseSequence == devices::EraseSequence::TwiceWithByteLoad) {
        if (!link.acknowledged(BoardCommand::CMD_SPI4, kAvrChipErase))
            return false;
        link.pause(kAtTiny26WritePauseMs);
        if (!link.acknowledged(BoardCommand::CMD_SPI4, kAtTiny26FlashWrite))
            return false;
    }
    return link.send(BoardCommand::CMD_SPI4, kAvrChipErase);
}

void eraseDataFlashChip(workspace::Workspace& ws, const devices::DeviceInfo& device) {
    auto& messages = ws.connection().messages();
    base::ProgressRunner& runner = ws.progressRunner();
    const int result = runner.run(
        [&](base::ProgressSink& progress) { return eraseDataFlash(ws.link(), device, progress); });
    if (result == base::kEndDone) {
        messages.status(kDeviceErased);
        ws.results.lastOperationStatus = 0;
    } else if (runner.cancelRequested()) {
        messages.status(kEraseTerminated);
    } else {
        messages.connectionError();
    }
    ws.link().endSession();
}

// An AVR chip that was locked reads 00 01 02 as long as the erase did not take.
void recheckSignature(workspace::Workspace& ws) {
    auto& messages = ws.connection().messages();
    int& status = ws.results.lastOperationStatus;
    messages.status(kCheckingSignature);
    ws.link().pause(kRecheckPauseMs);
    if (!connect(ws, link::SpeedCode::Baud19200)) {
        ws.link().endSession();
        return;
    }
    if (!readSignature(ws)) {
        messages.box(kErrorReadingSignature);
        status = 0;
        messages.status(kDeviceErased);
        ws.link().endSession();
        return;
    }
    endSessionWarning(ws);
    const SignatureBytes signature = ws.results.signature;
    if (isLockedSignature(signature)) {
        messages.status(kNotErasedLocked);
        status = -1;
        messages.box(kStillLocked);
        return;
    }
    messages.status(text::formatUiText(kErasedWithSignature, signature[0], signature[1],
                                       signature[2], signatureText(ws, signature)));
    status = 0;
}

}  // namespace

void chipErase(workspace::Workspace& ws) {
    base::BusyScope busy(ws.user());
    auto& messages = ws.connection().messages();
    auto& link = ws.link();
    ws.results.lastOperationStatus = -1;
    messages.status(kErasingDevice);
    if (!requireBoard(ws))
        return;
    if (!connect(ws, link::SpeedCode::Baud19200)) {
        link.endSession();
        return;
    }
    const devices::DeviceInfo& device = ws.selectedDeviceInfo();
    if (device.isAt45()) {
        eraseDataFlashChip(ws, device);
        return;
    }
    if (!sendEraseInstructions(ws, device)) {
        link.endSession();
        messages.connectionError();
        return;
    }
    link.pause(kEraseAckPauseMs);
    if (!link.expectAck()) {
        link.endSession();
        messages.connectionError();
        return;
    }
    link.pause(kEraseEndPauseMs);
    link.endSession();
    if (device.algorithm != ProgAlgorithm::Avr) {
        messages.status(kDeviceErased);
        ws.results.lastOperationStatus = 0;
        return;
    }
    recheckSignature(ws);
}

}  // namespace zavuv::operations

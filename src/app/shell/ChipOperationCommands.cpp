#include "app/shell/ChipOperationCommands.h"

#include <functional>

#include "app/dialogs/FirmwareUpdateDialog.h"
#include "app/dialogs/LockFuseDialog.h"
#include "app/shell/ChangedFiles.h"
#include "app/shell/MainDialog.h"
#include "app/shell/MainWindowIds.h"
#include "app/shell/SaveQuestions.h"
#include "chips/ChipDriver.h"
#include "link/BoardInformation.h"
#include "link/LinkMessages.h"
#include "operations/AutoProgram.h"
#include "operations/BoardAccess.h"
#include "operations/CalibrationBytes.h"
#include "operations/ChipErase.h"
#include "operations/FirmwareUpdate.h"
#include "operations/LockFuseOnChip.h"
#include "operations/OperationFrame.h"
#include "operations/ProductionRun.h"
#include "operations/ReadSignatureCommand.h"
#include "text/UiText.h"

namespace zavuv::app::shell {

using workspace::Workspace;

namespace {

using Operation = std::function<void(Workspace&)>;

void runOperation(MainDialog& window, const Operation& operation) {
    window.prepareSimulatedBoard();
    operation(window.workspace());
    window.UpdateControls();
}

// The firmware update asks its settings dialog for the speed.
void updateFirmware(MainDialog& window, Workspace& ws) {
    operations::updateFirmware(ws,
                               [&window](const operations::FirmwareVersions& versions)
                                   -> std::optional<operations::TransferSpeed> {
                                   const auto speed = dialogs::runFirmwareUpdateDialog(
                                       &window, QString::fromStdString(versions.current),
                                       QString::fromStdString(versions.next));
                                   if (!speed)
                                       return std::nullopt;
                                   return *speed == dialogs::FirmwareUploadSpeed::Normal
                                              ? operations::TransferSpeed::Normal
                                              : operations::TransferSpeed::Reduced;
                               });
}

// The chip's bits are read first; the dialog then works on the chip itself.
void lockFuseBits(MainDialog& window, Workspace& ws) {
    const devices::DeviceInfo& device = ws.selectedDeviceInfo();
    if (device.lockFuseLayout < 0 || !chips::driverFor(device).abilities().lockFuseBits) {
        // A DataFlash: nothing to read, and nothing is sent.
        ws.connection().messages().box(text::formatUiText(text::Msg::NoLockFuseBits, device.name));
        return;
    }
    if (!operations::requireBoard(ws))
        return;
    devices::LockFuseState state;
    if (!operations::readLockFuse(ws, state))
        return;
    dialogs::runLockFuseDialog(&window, ws, state);
}

}  // namespace

void runAutoProgramUnattended(MainDialog& window) {
    runOperation(window, [](Workspace& ws) { operations::autoProgramLogged(ws, true); });
}

void addChipOperationCommands(MainDialog& window) {
    CommandTable& table = window.commands();
    const auto route = [&table, &window](int id, Operation operation) {
        table.add(id,
                  [&window, operation = std::move(operation)] { runOperation(window, operation); });
    };
    route(id::kProgramFlash, [&window](Workspace& ws) {
        reloadChangedFiles(window, {&ws.flash()});
        operations::programFlash(ws);
    });
    route(id::kProgramEeprom, [&window](Workspace& ws) {
        reloadChangedFiles(window, {&ws.eeprom()});
        operations::programEeprom(ws);
    });
    route(id::kVerifyFlash, [](Workspace& ws) { operations::verifyFlash(ws); });
    route(id::kVerifyEeprom, [](Workspace& ws) { operations::verifyEeprom(ws); });
    // Reading replaces the image: a modified one is offered for saving first.
    route(id::kReadFlash, [&window](Workspace& ws) {
        if (offerToSaveBuffer(window, ws.flash()))
            operations::readFlash(ws);
    });
    route(id::kReadEeprom, [&window](Workspace& ws) {
        if (offerToSaveBuffer(window, ws.eeprom()))
            operations::readEeprom(ws);
    });
    route(id::kBlankCheck, [](Workspace& ws) { operations::blankCheck(ws); });
    route(id::kChipErase, [](Workspace& ws) { operations::chipErase(ws); });
    route(id::kAutoProgram, [&window](Workspace& ws) {
        reloadChangedFiles(window, {&ws.flash(), &ws.eeprom()});
        operations::autoProgramLogged(ws, false);
    });
    route(id::kReadSignature, [](Workspace& ws) { operations::readSignatureCommand(ws); });
    route(id::kReadSignatureButton, [](Workspace& ws) { operations::readSignatureButton(ws); });
    route(id::kReadCalibration, [](Workspace& ws) { operations::readCalibrationBytes(ws); });
    route(id::kBoardInformation,
          [](Workspace& ws) { link::showBoardInformation(ws.connection()); });
    route(id::kSearchBoard, [](Workspace& ws) { ws.connection().searchBoard(); });
    route(id::kUpdateFirmware, [&window](Workspace& ws) { updateFirmware(window, ws); });
    route(id::kLockFuseBits, [&window](Workspace& ws) { lockFuseBits(window, ws); });
}

}  // namespace zavuv::app::shell

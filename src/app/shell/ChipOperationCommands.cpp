#include "app/shell/ChipOperationCommands.h"

#include <functional>

#include "app/dialogs/FirmwareUpdateDialog.h"
#include "app/dialogs/LockFuseDialog.h"
#include "app/shell/MainDialog.h"
#include "link/BoardInformation.h"
#include "operations/AutoProgram.h"
#include "operations/BoardAccess.h"
#include "operations/CalibrationBytes.h"
#include "operations/ChipErase.h"
#include "operations/FirmwareUpdate.h"
#include "operations/LockFuseOnChip.h"
#include "operations/OperationFrame.h"
#include "operations/ReadSignatureCommand.h"

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
    if (ws.selectedDeviceInfo().lockFuseLayout < 0 || !operations::requireBoard(ws))
        return;
    devices::LockFuseState state;
    if (!operations::readLockFuse(ws, state))
        return;
    dialogs::runLockFuseDialog(&window, ws, state);
}

}  // namespace

void runAutoProgramUnattended(MainDialog& window) {
    runOperation(window, [](Workspace& ws) { operations::autoProgramUnattended(ws); });
}

void addChipOperationCommands(MainDialog& window) {
    CommandTable& table = window.commands();
    const auto route = [&table, &window](int id, Operation operation) {
        table.add(id,
                  [&window, operation = std::move(operation)] { runOperation(window, operation); });
    };
    route(1009, [](Workspace& ws) { operations::programFlash(ws); });
    route(1011, [](Workspace& ws) { operations::programEeprom(ws); });
    route(1010, [](Workspace& ws) { operations::verifyFlash(ws); });
    route(1012, [](Workspace& ws) { operations::verifyEeprom(ws); });
    route(1013, [](Workspace& ws) { operations::readFlash(ws); });
    route(1014, [](Workspace& ws) { operations::readEeprom(ws); });
    route(32779, [](Workspace& ws) { operations::blankCheck(ws); });
    route(1008, [](Workspace& ws) { operations::chipErase(ws); });
    route(1015, [](Workspace& ws) {
        ws.results.autoprogramOk = false;
        operations::autoProgram(ws);
    });
    route(32777, [](Workspace& ws) { operations::readSignatureCommand(ws); });
    route(1103, [](Workspace& ws) { operations::readSignatureButton(ws); });
    route(32904, [](Workspace& ws) { operations::readCalibrationBytes(ws); });
    route(32901, [](Workspace& ws) { link::showBoardInformation(ws.connection()); });
    route(32788, [](Workspace& ws) { ws.connection().searchBoard(); });
    route(32910, [&window](Workspace& ws) { updateFirmware(window, ws); });
    route(1016, [&window](Workspace& ws) { lockFuseBits(window, ws); });
}

}  // namespace zavuv::app::shell

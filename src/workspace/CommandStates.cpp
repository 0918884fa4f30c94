#include "workspace/CommandStates.h"

namespace zavuv::workspace {

using devices::DeviceInfo;
using devices::ProgAlgorithm;

CommandStates commandStates(const Workspace& ws) {
    const DeviceInfo& selected = ws.selectedDeviceInfo();
    const bool flashData = ws.flash().size() != 0;
    const bool eepromData = ws.eeprom().size() != 0;
    const bool hasFlash = selected.flashSize != 0;
    const bool hasEeprom = selected.eepromSize != 0 && !selected.isAt45();
    // Erase and blank check follow the project's device, as the operations do.
    const bool serialEeprom = ws.projectDeviceInfo().algorithm == ProgAlgorithm::At25;

    CommandStates s;
    s.readCalibration = selected.calibrationBytes() != 0;
    s.readSignature = selected.canReadSignature();
    s.readFlash = hasFlash;
    s.programFlash = hasFlash && flashData;
    s.readEeprom = hasEeprom;
    s.programEeprom = hasEeprom && eepromData;
    s.chipErase = !serialEeprom;
    s.autoProgram = !serialEeprom && !selected.isAt45();
    return s;
}

std::string windowTitle(const Workspace& ws) {
    return ws.project().titleText();
}

}  // namespace zavuv::workspace

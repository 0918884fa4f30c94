#include "workspace/CommandStates.h"

#include "chips/ChipDriver.h"

namespace zavuv::workspace {

CommandStates commandStates(const Workspace& ws) {
    const devices::DeviceInfo& selected = ws.selectedDeviceInfo();
    const chips::ChipAbilities& chosen = chips::driverFor(selected).abilities();
    // Erase and auto-program follow the project's device too, as the operations do.
    const chips::ChipAbilities& project = chips::driverFor(ws.projectDeviceInfo()).abilities();
    const bool flashData = ws.flash().size() != 0;
    const bool eepromData = ws.eeprom().size() != 0;
    const bool hasFlash = selected.flashSize != 0;
    const bool hasEeprom = selected.eepromSize != 0 && chosen.eepromMemory;

    CommandStates s;
    s.readCalibration = selected.calibrationBytes() != 0;
    s.readSignature = chosen.signatureRead != chips::SignatureRead::None;
    s.readFlash = hasFlash;
    s.programFlash = hasFlash && flashData;
    s.readEeprom = hasEeprom;
    s.programEeprom = hasEeprom && eepromData;
    s.chipErase = project.chipErase;
    s.autoProgram = project.autoProgram && chosen.autoProgram;
    return s;
}

std::string windowTitle(const Workspace& ws) {
    return ws.project().titleText();
}

}  // namespace zavuv::workspace

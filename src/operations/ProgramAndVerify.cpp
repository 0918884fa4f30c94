#include "operations/ProgramAndVerify.h"

#include "operations/OperationFrame.h"
#include "operations/SerialNumber.h"
#include "operations/SerialReservation.h"

namespace zavuv::operations {

bool programAndVerify(workspace::Workspace& ws, bool flash) {
    const BufferReservation serialNumber(ws, flash);
    if (serialNumber.failed())
        return false;
    auto& project = ws.project();
    const IncrementPaused paused(flash ? project.autoIncrementFlash : project.autoIncrement);
    if (!runMemoryOperation(ws,
                            flash ? MemoryOperation::ProgramFlash : MemoryOperation::ProgramEeprom))
        return false;
    // The chip just programmed: its signature was checked before.
    ws.signatureBeforeMemoryCommands = false;
    const bool verified = runMemoryOperation(ws, flash ? MemoryOperation::VerifyFlash
                                                       : MemoryOperation::VerifyEeprom);
    if (paused.wasOn() && !serialNumber.reserved())
        incrementSerialNumber(flash ? ws.flash() : ws.eeprom(),
                              flash ? project.autoIncAddressFlash : project.autoIncAddress);
    return verified;
}

}  // namespace zavuv::operations

// Every board operation of the matrix: how to stage it, how to run it, and the
// texts that report its failure.

#include <algorithm>
#include <cstdlib>

#include "FaultMatrix.h"
#include "devices/LockFuseState.h"
#include "link/BoardInformation.h"
#include "operations/AutoProgram.h"
#include "operations/BoardAccess.h"
#include "operations/CalibrationBytes.h"
#include "operations/ChipErase.h"
#include "operations/FirmwareImage.h"
#include "operations/FirmwareUpdate.h"
#include "operations/LockFuseOnChip.h"
#include "operations/OperationFrame.h"
#include "operations/ReadSignatureCommand.h"
#include "support/EnvironmentVariable.h"

namespace zavuv::testing {

namespace {

using operations::MemoryOperation;

// Bytes that differ from their neighbours and are never 0xFF, so that a
// skipped page or a lost byte shows.
std::vector<std::uint8_t> pattern(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 37 + 11 + (i >> 8)) % 251);
    return bytes;
}

std::vector<std::uint8_t>& chipMemory(SimulatedWorkspace& sim, bool flash) {
    return flash ? sim.board().chip().flash : sim.board().chip().eeprom;
}

void loadImage(SimulatedWorkspace& sim, bool flash, std::size_t size) {
    const std::string name = flash ? "flash.bin" : "eeprom.bin";
    bufferOf(sim, flash).loadFile(sim.folder().write(name, pattern(size)));
}

// The chip already holds what the buffer holds: what a verify expects.
void chipHoldsImage(SimulatedWorkspace& sim, bool flash, std::size_t size) {
    const auto bytes = pattern(size);
    std::ranges::copy(bytes, chipMemory(sim, flash).begin());
}

std::function<bool(SimulatedWorkspace&)> memory(MemoryOperation operation) {
    return [operation](SimulatedWorkspace& sim) {
        return operations::runMemoryOperation(sim.ws(), operation);
    };
}

OperationRow program(std::string name, std::string chip, bool flash, std::size_t size,
                     std::size_t unit) {
    OperationRow row;
    row.name = std::move(name);
    row.chip = std::move(chip);
    row.work = Work::Program;
    row.flash = flash;
    row.unit = unit;
    row.ownsStatus = true;
    row.prepare = [flash, size](SimulatedWorkspace& sim) { loadImage(sim, flash, size); };
    row.run = memory(flash ? MemoryOperation::ProgramFlash : MemoryOperation::ProgramEeprom);
    row.failureStatuses = {flash ? "Flash program: ERROR" : "Error programming Eeprom",
                           "Error during polling"};
    return row;
}

OperationRow read(std::string name, std::string chip, bool flash) {
    OperationRow row;
    row.name = std::move(name);
    row.chip = std::move(chip);
    row.work = Work::Read;
    row.flash = flash;
    row.garbled = GarbledReply::Data;
    row.prepare = [flash](SimulatedWorkspace& sim) {
        // A buffer loaded from a file: the read must leave the file alone.
        loadImage(sim, flash, 16);
        auto& memory = chipMemory(sim, flash);
        const auto bytes = pattern(std::min<std::size_t>(memory.size(), 2000));
        std::ranges::copy(bytes, memory.begin());
    };
    row.run = memory(flash ? MemoryOperation::ReadFlash : MemoryOperation::ReadEeprom);
    // The length and checksum replace every result text.
    // After the work the length and checksum replace every result text.
    row.failureStatuses = {flash ? "Flash length: *" : "Eeprom length: *"};
    row.lockedSucceeds = true;
    row.lockedStatus = row.failureStatuses.front();
    return row;
}

OperationRow verify(std::string name, std::string chip, bool flash, std::size_t size) {
    OperationRow row;
    row.name = std::move(name);
    row.chip = std::move(chip);
    row.work = Work::Verify;
    row.flash = flash;
    row.ownsStatus = true;
    row.garbled = GarbledReply::Data;
    row.prepare = [flash, size](SimulatedWorkspace& sim) {
        loadImage(sim, flash, size);
        chipHoldsImage(sim, flash, size);
    };
    row.run = memory(flash ? MemoryOperation::VerifyFlash : MemoryOperation::VerifyEeprom);
    const std::string memoryName = flash ? "Flash" : "Eeprom";
    row.failureStatuses = {"Connection error while verifying " + memoryName,
                           memoryName + " verify: ERROR at byte *"};
    row.lockedStatus = memoryName + " verify: ERROR at byte *";
    return row;
}

OperationRow blankCheck(std::string name, std::string chip) {
    OperationRow row;
    row.name = std::move(name);
    row.chip = std::move(chip);
    row.ownsStatus = true;
    row.garbled = GarbledReply::Data;
    row.prepare = [](SimulatedWorkspace&) {};
    row.run = memory(MemoryOperation::BlankCheck);
    row.failureStatuses = {"Blank check: Error", "Blank check: Flash is not empty"};
    row.lockedStatus = "Blank check: Flash is not empty";
    return row;
}

OperationRow erase(std::string name, std::string chip) {
    OperationRow row;
    row.name = std::move(name);
    row.chip = std::move(chip);
    row.ownsStatus = true;
    row.prepare = [](SimulatedWorkspace& sim) {
        auto& flash = sim.board().chip().flash;
        std::fill(flash.begin(), flash.begin() + std::min<long>(4096, std::ssize(flash)), 0x00);
    };
    row.run = [](SimulatedWorkspace& sim) {
        sim.ws().results.lastOperationStatus =
            zavuv::workspace::OperationStatus::Succeeded;  // the erase must set it itself
        operations::chipErase(sim.ws());
        return sim.ws().results.lastOperationStatus == zavuv::workspace::OperationStatus::Succeeded;
    };
    row.lockedSucceeds = true;  // the erase is what unlocks a chip
    return row;
}

OperationRow signatureCommand(std::string name, std::string chip) {
    OperationRow row;
    row.name = std::move(name);
    row.chip = std::move(chip);
    row.garbled = GarbledReply::Data;
    row.prepare = [](SimulatedWorkspace&) {};
    row.run = [](SimulatedWorkspace& sim) { return operations::readSignatureCommand(sim.ws()); };
    row.lockedStatus = "Device is locked";
    return row;
}

// Every step of the sequence, with a serial number in both memories: an
// unattended run saves the incremented buffers to their files only when it is DONE.
void everyStep(SimulatedWorkspace& sim) {
    loadImage(sim, true, 700);
    loadImage(sim, false, 100);
    auto& p = sim.ws().project();
    p.autoErase = p.autoEmptyCheck = true;
    p.autoFlashReload = p.autoFlashProgram = p.autoFlashVerify = true;
    p.autoEepromReload = p.autoEepromProgram = p.autoEepromVerify = true;
    p.autoIncrementFlash = p.autoIncrement = true;
    p.autoIncAddressFlash = 100;
    p.autoIncAddress = 20;
    p.programFuse = false;
}

std::vector<std::uint8_t> firmwareImage() {
    std::vector<std::uint8_t> image(operations::kFirmwareImageSize);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 13 + 5);
    return image;
}

// Every fuse unprogrammed but SPIEN, no lock: what keeps the chip reachable.
devices::LockFuseState onlySpien(SimulatedWorkspace& sim) {
    devices::LockFuseState state;
    const devices::LockFuseLayout* layout = operations::projectLockFuseLayout(sim.ws());
    for (int i = 0; i < layout->fuseCount; ++i)
        state.fuse[i] = std::string_view(layout->fuseName[i]) == "SPIEN";
    return state;
}

std::vector<OperationRow> makeRows() {
    std::vector<OperationRow> rows;

    OperationRow connect;
    connect.name = "Connect";
    connect.chip = "ATmega8";
    connect.connects = false;
    connect.prepare = [](SimulatedWorkspace&) {};
    connect.run = [](SimulatedWorkspace& sim) {
        if (!operations::connect(sim.ws(), link::SpeedCode::Baud19200)) {
            sim.ws().link().endSession();  // what every caller does after a failed connect
            return false;
        }
        return operations::endSessionWarning(sim.ws());
    };
    // The answer to the programming enable is not looked at: the connect goes on.
    // A garbled synchronisation answer is retried, and the answers to the reset
    // and the programming enable are not looked at.
    connect.garbled = GarbledReply::Data;
    connect.lockedSucceeds = true;
    connect.lockedStatus = "Connection accepted";
    rows.push_back(connect);

    rows.push_back(signatureCommand("SignatureCommandAvr", "ATmega8"));
    OperationRow signatureAt89S = signatureCommand("SignatureCommandAt89S", "AT89S52");
    signatureAt89S.lockedSucceeds = true;  // the AT89S lock bits do not hide the signature
    signatureAt89S.lockedStatus = "Signature: 1E 52 06 - AT89S52";
    rows.push_back(signatureAt89S);

    OperationRow button;
    button.name = "SignatureButtonAt45";
    button.chip = "AT45DB041B";
    button.connects = false;       // the connect's detection is the work
    button.lockedSucceeds = true;  // a DataFlash has no lock bits
    button.lockedStatus = "AT45 memory detected (AT45DB041B)";
    button.garbled = GarbledReply::Data;  // the detection reads a status register
    button.prepare = [](SimulatedWorkspace&) {};
    button.run = [](SimulatedWorkspace& sim) { return operations::readSignatureButton(sim.ws()); };
    rows.push_back(button);

    OperationRow eraseAvr = erase("EraseAvr", "ATmega8");
    // The erase was acknowledged; only the signature read after it failed, which
    // "Error reading signature" reports beside "Device erased".
    eraseAvr.overrides = {{"SilentAtLastUnit", Expect::Succeeds},
                          {"HangupAtLastUnit", Expect::Succeeds},
                          {"GarbageMiddle", Expect::MaySucceed},
                          {"GarbageAtLastUnit", Expect::MaySucceed}};
    rows.push_back(eraseAvr);
    rows.push_back(erase("EraseAt89S", "AT89S8252"));
    OperationRow eraseAt45 = erase("EraseAt45", "AT45DB041B");
    rows.push_back(eraseAt45);

    OperationRow calibration;
    calibration.name = "CalibrationBytes";
    calibration.chip = "ATmega8";
    calibration.garbled = GarbledReply::Data;
    calibration.prepare = [](SimulatedWorkspace&) {};
    calibration.run = [](SimulatedWorkspace& sim) {
        return operations::readCalibrationBytes(sim.ws());
    };
    calibration.failureStatuses = {"Error reading calibration bytes"};
    calibration.lockedSucceeds = true;  // lock bits guard the memories, not the calibration bytes
    calibration.lockedStatus = "Calibration bytes: *";
    rows.push_back(calibration);

    OperationRow info;
    info.name = "BoardInformation";
    info.chip = "ATmega8";
    info.closing = Closing::Escape;
    info.connects = false;
    info.garbled = GarbledReply::Data;
    info.prepare = [](SimulatedWorkspace&) {};
    info.run = [](SimulatedWorkspace& sim) {
        return link::showBoardInformation(sim.ws().connection());
    };
    info.failureStatuses = {"Error reading version", "Reading firmware version..."};
    info.lockedSucceeds = true;
    info.lockedStatus = "ZAVUV*";
    rows.push_back(info);

    OperationRow search;
    search.name = "SearchBoard";
    search.chip = "ATmega8";
    search.closing = Closing::Escape;
    search.connects = false;
    search.garbled = GarbledReply::Data;
    search.prepare = [](SimulatedWorkspace& sim) { sim.ws().setComPort(0); };
    search.run = [](SimulatedWorkspace& sim) {
        sim.ws().connection().searchBoard();
        return sim.ws().comPort() == 1 && sim.user().lastStatus().starts_with("ZAVUV");
    };
    search.failureStatuses = {"Programmer was not found", "Unknown version on COM1"};
    search.connectStatusLast = false;
    search.lockedSucceeds = true;
    search.lockedStatus = "ZAVUV*";
    rows.push_back(search);

    OperationRow programFlashAvr = program("ProgramFlashAvrPages", "ATmega8", true, 1000, 64);
    programFlashAvr.writeBlocks = true;
    programFlashAvr.prepare = [](SimulatedWorkspace& sim) {
        loadImage(sim, true, 1000);
        sim.ws().project().checkSign = true;
        sim.user().answerNext(base::Answer::No);  // "Device is locked. Erase it now?"
    };
    programFlashAvr.lockedStatus = "Programming cancelled";
    // The middle reply answers a page's extended address byte, which is not looked at.
    programFlashAvr.overrides = {{"GarbageMiddle", Expect::MaySucceed}};
    rows.push_back(programFlashAvr);
    OperationRow programEepromAvr = program("ProgramEepromAvrBlocks", "ATmega8", false, 300, 64);
    programEepromAvr.writeBlocks = true;
    programEepromAvr.lockedStatus = "Eeprom program: Done (300 bytes programmed)";
    programEepromAvr.lockedSucceeds = true;  // no signature check: a verify finds it out
    rows.push_back(programEepromAvr);
    rows.push_back(read("ReadFlashAvrBlocks", "ATmega8", true));
    rows.push_back(read("ReadEepromAvrBlocks", "ATmega8", false));
    rows.push_back(verify("VerifyFlashAvrBlocks", "ATmega8", true, 1000));
    rows.push_back(verify("VerifyEepromAvrBlocks", "ATmega8", false, 300));

    OperationRow programAt89S = program("ProgramFlashAt89SBytes", "AT89S52", true, 300, 1);
    programAt89S.garbled = GarbledReply::Data;  // the answer to each byte is not looked at
    programAt89S.lockedSucceeds = true;
    programAt89S.lockedStatus = "Flash program: Done (300 bytes programmed)";
    rows.push_back(programAt89S);
    rows.push_back(read("ReadFlashAt89SBytes", "AT89S52", true));
    rows.push_back(verify("VerifyFlashAt89SBytes", "AT89S52", true, 300));

    OperationRow programAt25 = program("ProgramEepromAt25Pages", "AT25256", false, 300, 64);
    programAt25.lockedSucceeds = true;
    programAt25.lockedStatus = "Eeprom program: Done (300 bytes programmed)";
    rows.push_back(programAt25);
    rows.push_back(read("ReadEepromAt25Pages", "AT25256", false));
    OperationRow verifyAt25 = verify("VerifyEepromAt25Pages", "AT25256", false, 300);
    verifyAt25.lockedSucceeds = true;  // its protection bits guard against writing only
    verifyAt25.lockedStatus = "Eeprom verify: OK (300 bytes verified)";
    rows.push_back(verifyAt25);

    OperationRow programAt45 = program("ProgramFlashAt45Pages", "AT45DB041B", true, 600, 264);
    programAt45.lockedSucceeds = true;
    programAt45.lockedStatus = "Flash program: Done (600 bytes programmed)";
    rows.push_back(programAt45);
    rows.push_back(read("ReadFlashAt45Pages", "AT45DB041B", true));
    OperationRow verifyAt45 = verify("VerifyFlashAt45Pages", "AT45DB041B", true, 600);
    verifyAt45.lockedSucceeds = true;  // a DataFlash has no lock bits
    verifyAt45.lockedStatus = "Flash verify: OK (600 bytes verified)";
    rows.push_back(verifyAt45);

    rows.push_back(blankCheck("BlankCheckAvr", "ATmega8"));
    rows.push_back(blankCheck("BlankCheckAt89S", "AT89S52"));
    OperationRow blankAt45 = blankCheck("BlankCheckAt45", "AT45DB041B");
    blankAt45.lockedSucceeds = true;
    blankAt45.lockedStatus = "Blank check: Flash is blank";
    rows.push_back(blankAt45);

    OperationRow readFuses;
    readFuses.name = "ReadLockFuse";
    readFuses.chip = "ATmega8";
    readFuses.garbled = GarbledReply::Data;
    readFuses.prepare = [](SimulatedWorkspace& sim) {
        sim.user().answerNext(base::Answer::No);  // a locked chip's signature is not the ATmega8's
    };
    readFuses.run = [](SimulatedWorkspace& sim) {
        devices::LockFuseState state;
        return operations::readLockFuse(sim.ws(), state);
    };
    // The operation reports in boxes; a garbled signature byte makes another
    // chip of it, which the person declines.
    readFuses.failureStatuses = {"Operation cancelled"};
    readFuses.failureMessages = {"Connection error while reading signature", "Connection error"};
    readFuses.lockedStatus = "Operation cancelled";
    rows.push_back(readFuses);

    OperationRow programFuses;
    programFuses.name = "ProgramLockFuse";
    programFuses.chip = "ATmega8";
    programFuses.prepare = [](SimulatedWorkspace&) {};
    programFuses.run = [](SimulatedWorkspace& sim) {
        return operations::programLockFuse(sim.ws(), onlySpien(sim), true);
    };
    // A garbled read-back answer names the byte that reads otherwise.
    programFuses.failureMessages = {"Connection error", "Error programming lock/fuse bits",
                                    "Low fuse byte: *", "High fuse byte: *"};
    // The middle reply is now the read-back's lock answer: data that no host
    // can tell from the chip's (the lock byte was not written, so it is not compared).
    programFuses.overrides = {{"GarbageMiddle", Expect::MaySucceed}};
    programFuses.lockedSucceeds = true;  // fuses can be written on a locked chip
    programFuses.lockedStatus = "Lock/fuse bits programmed";
    rows.push_back(programFuses);

    OperationRow autoProgram;
    autoProgram.name = "AutoProgram";
    autoProgram.chip = "ATmega8";
    autoProgram.work = Work::Sequence;
    autoProgram.writeBlocks = true;
    autoProgram.ownsStatus = true;
    autoProgram.prepare = everyStep;
    autoProgram.run = [](SimulatedWorkspace& sim) {
        return operations::autoProgramUnattended(sim.ws());
    };
    autoProgram.failureStatuses = {"Autoprogram: ERROR*"};
    autoProgram.connectStatusLast = false;
    autoProgram.lockedSucceeds = true;  // the sequence erases first
    autoProgram.lockedStatus = "Autoprogram: DONE*";
    rows.push_back(autoProgram);

    OperationRow firmware;
    firmware.name = "FirmwareUpdate";
    firmware.chip = "ATmega8";
    firmware.closing = Closing::Escape;
    firmware.connects = false;
    firmware.checksVersion = false;         // the boot loader is not synchronised
    firmware.garbled = GarbledReply::Data;  // each chunk's answer is not looked at
    firmware.prepare = [](SimulatedWorkspace& sim) {
        testing::setVariable("ZAVUV_FIRMWARE",
                             sim.folder().write("zavuv-board.bin", firmwareImage()));
    };
    firmware.run = [](SimulatedWorkspace& sim) {
        const auto normalSpeed = [](const operations::FirmwareVersions&) {
            return std::optional(operations::TransferSpeed::Normal);
        };
        return operations::updateFirmware(sim.ws(), normalSpeed) ==
               operations::FirmwareUpdateResult::Updated;
    };
    firmware.failureStatuses = {"Error while version updating"};
    firmware.lockedSucceeds = true;
    firmware.lockedStatus = "ZAVUV*";
    rows.push_back(firmware);
    return rows;
}

}  // namespace

const std::vector<OperationRow>& operationRows() {
    static const std::vector<OperationRow> rows = makeRows();
    return rows;
}

}  // namespace zavuv::testing

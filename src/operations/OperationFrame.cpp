#include "operations/OperationFrame.h"

#include <algorithm>
#include <optional>

#include "chips/ChipDriver.h"
#include "link/LinkMessages.h"
#include "operations/BlankCheck.h"
#include "operations/BoardAccess.h"
#include "operations/ProgramMemory.h"
#include "operations/ReadMemory.h"
#include "operations/SerialNumber.h"
#include "operations/SignatureGate.h"
#include "text/UiText.h"

namespace zavuv::operations {

using link::BoardCommand;

namespace {

enum class Kind { Program, Read, Verify, BlankCheck };

// How a memory is missing that the command needs.
enum class NeedsEeprom {
    No,
    NotDataFlash,  // a DataFlash's "EEPROM size" is its address shift: refused
    OnChip,        // refused without EEPROM on the chip, or on a DataFlash
};

// One operation's choices and texts (message keys; 0: none).
struct OperationRow {
    MemoryOperation operation;
    Kind kind;
    bool flash;
    BoardCommand blockCommand;
    NeedsEeprom needsEeprom;
    int start;
    int success;
    int mismatch;
    int cancelled;
    int code100;
    bool code100Box;
    int failureBox;
    int failureStatus;
};

constexpr OperationRow kOperationRows[] = {
    {MemoryOperation::ProgramFlash, Kind::Program, true, BoardCommand::CMD_WRITE_BLOCK,
     NeedsEeprom::No, 1072, 1052, 0, 1083, 1164, true, 1084, 1051},
    {MemoryOperation::ProgramEeprom, Kind::Program, false, BoardCommand::CMD_WRITE_EEPROM_BLOCK,
     NeedsEeprom::NotDataFlash, 1073, 1055, 0, 1094, 1164, true, 1095, 1095},
    {MemoryOperation::ReadFlash, Kind::Read, true, BoardCommand::CMD_READ_BLOCK, NeedsEeprom::No,
     1085, 1089, 0, 1086, 0, false, 1087, 1088},
    {MemoryOperation::ReadEeprom, Kind::Read, false, BoardCommand::CMD_READ_EEPROM_BLOCK,
     NeedsEeprom::OnChip, 1096, 1099, 0, 1097, 0, false, 1098, 1098},
    {MemoryOperation::VerifyFlash, Kind::Verify, true, BoardCommand::CMD_READ_BLOCK,
     NeedsEeprom::No, 1090, 1053, 1054, 1092, 0, false, 1093, 1093},
    {MemoryOperation::VerifyEeprom, Kind::Verify, false, BoardCommand::CMD_READ_EEPROM_BLOCK,
     NeedsEeprom::OnChip, 1100, 1056, 1057, 1103, 0, false, 1104, 1104},
    {MemoryOperation::BlankCheck, Kind::BlankCheck, true, BoardCommand::CMD_READ_BLOCK,
     NeedsEeprom::No, 1114, 1119, 0, 1116, 1115, false, 1117, 1118},
};

constexpr int kNoFlashFile = 1091;
constexpr int kNoEepromFile = 1101;
constexpr int kNoEepromOnChip = 1058;
constexpr int kFlashLength = 1041;
constexpr int kEepromLength = 1074;

const OperationRow& rowOf(MemoryOperation operation) {
    return *std::ranges::find(kOperationRows, operation, &OperationRow::operation);
}

class Frame {
public:
    Frame(workspace::Workspace& ws, const OperationRow& row)
        : ws_(ws), row_(row), messages_(ws.connection().messages()),
          buffer_(row.kind == Kind::BlankCheck ? nullptr
                  : row.flash                  ? &ws.flash()
                                               : &ws.eeprom()) {}

    bool run() {
        auto& results = ws_.results;
        if (row_.kind != Kind::Read)
            results.lastOperationStatus = -1;
        if (row_.operation == MemoryOperation::VerifyFlash)
            results.flashVerified = false;
        if (row_.operation == MemoryOperation::VerifyEeprom)
            results.eepromVerified = false;
        messages_.status(row_.start);
        if (!preconditionsHold())
            return false;

        const base::BusyScope busy(ws_.user());
        if (!requireBoard(ws_))
            return false;
        const devices::DeviceInfo& device = ws_.projectDeviceInfo();
        memorySize_ = std::max(row_.flash ? device.flashSize : device.eepromSize, 0);
        if (row_.kind == Kind::Read)
            buffer_->create(static_cast<std::size_t>(memorySize_));

        if (!connect(ws_, memorySpeed(ws_))) {
            ws_.link().endSession();  // the connect has said why
            return false;
        }
        if (row_.operation == MemoryOperation::ProgramFlash &&
            chips::driverFor(ws_.selectedDeviceInfo()).abilities().signatureBeforeProgramming &&
            ws_.project().checkSign && !signatureAllowsProgramming(ws_))
            return false;

        const base::EndCode code = runWorker();
        const bool succeeded = report(code);
        endSession();
        if (row_.kind == Kind::Read) {
            // The length and checksum replace the result text, whatever it was.
            messages_.status(text::formatUiText(row_.flash ? kFlashLength : kEepromLength,
                                                buffer_->size(), buffer_->size(),
                                                buffer_->checksum16()));
        }
        if (row_.kind == Kind::Program)
            applyAutoIncrement(ws_, row_.flash);
        return succeeded;
    }

private:
    bool preconditionsHold() {
        if (row_.kind == Kind::Verify && buffer_->size() == 0) {
            messages_.status(row_.flash ? kNoFlashFile : kNoEepromFile);
            return false;
        }
        const devices::DeviceInfo& device = ws_.selectedDeviceInfo();
        const bool refused = (row_.needsEeprom == NeedsEeprom::OnChip && device.eepromSize == 0) ||
                             (row_.needsEeprom != NeedsEeprom::No &&
                              !chips::driverFor(device).abilities().eepromMemory);
        if (refused)
            messages_.status(kNoEepromOnChip);
        return !refused;
    }

    base::EndCode runWorker() {
        base::WorkerBody body;
        switch (row_.kind) {
        case Kind::Program:
            body = [this](base::ProgressSink& sink) { return programMemory(ws_, sink, job()); };
            break;
        case Kind::Read:
            body = [this](base::ProgressSink& sink) { return readMemory(ws_, sink, job()); };
            break;
        case Kind::Verify:
            ws_.results.firstMismatch = -1;
            body = [this](base::ProgressSink& sink) {
                return verifyMemory(ws_, sink, job(), verify_);
            };
            break;
        case Kind::BlankCheck:
            body = [this](base::ProgressSink& sink) { return blankCheckFlash(ws_, sink); };
            break;
        }
        setBusy(true);
        const base::EndCode code = ws_.progressRunner().run(body);
        // Cancel on the size warning ends the worker as cancelled as well.
        cancelled_ = ws_.progressRunner().cancelRequested() || code == base::EndCode::Cancelled;
        setBusy(false);
        if (row_.kind == Kind::Verify)
            ws_.results.firstMismatch = verify_.firstMismatch;
        return code;
    }

    chips::MemoryJob job() const { return {*buffer_, row_.flash, row_.blockCommand, memorySize_}; }

    void setBusy(bool busy) {
        if (!buffer_)
            return;
        buffer_->setBusy(busy);
        buffer_->redraw();
    }

    // The result texts; true when the command succeeded.
    bool report(base::EndCode code) {
        auto& results = ws_.results;
        if (code == base::EndCode::Done)
            return reportSuccess();
        if (code == base::EndCode::NotBlank) {
            messages_.status(row_.code100);
            results.lastOperationStatus = 1;
            return false;
        }
        if (cancelled_) {
            messages_.status(row_.cancelled);
        } else if (code == base::EndCode::PollingFailure && row_.code100 != 0) {
            showFailure(row_.code100Box ? row_.code100 : 0, row_.code100);
        } else {
            showFailure(row_.failureBox, row_.failureStatus);
        }
        return false;
    }

    bool reportSuccess() {
        auto& results = ws_.results;
        const auto count = static_cast<int>(
            std::min(buffer_ ? buffer_->size() : 0, static_cast<std::size_t>(memorySize_)));
        switch (row_.kind) {
        case Kind::Read:
        case Kind::BlankCheck:
            messages_.status(row_.success);
            break;
        case Kind::Program:
            messages_.status(text::formatUiText(row_.success, count));
            break;
        case Kind::Verify:
            if (!verify_.allEqual) {
                messages_.status(text::formatUiText(row_.mismatch, results.firstMismatch,
                                                    results.firstMismatch));
                return false;
            }
            messages_.status(text::formatUiText(row_.success, count));
            (row_.flash ? results.flashVerified : results.eepromVerified) = true;
            break;
        }
        if (row_.kind != Kind::Read)
            results.lastOperationStatus = 0;
        return true;
    }

    void showFailure(int boxKey, int statusKey) {
        if (boxKey != 0)
            messages_.box(boxKey);
        messages_.status(statusKey);
    }

    void endSession() {
        if (!buffer_) {
            ws_.link().endSession();
            return;
        }
        buffer_->redraw();
        endSessionWarning(ws_);
        buffer_->redraw();
    }

    workspace::Workspace& ws_;
    const OperationRow& row_;
    link::LinkMessages& messages_;
    buffers::MemoryBuffer* buffer_;
    int memorySize_ = 0;
    bool cancelled_ = false;
    VerifyOutcome verify_;
};

}  // namespace

bool runMemoryOperation(workspace::Workspace& ws, MemoryOperation operation) {
    return Frame(ws, rowOf(operation)).run();
}

}  // namespace zavuv::operations

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
#include "operations/SerialReservation.h"
#include "operations/SignatureGate.h"
#include "text/UiText.h"

namespace zavuv::operations {

using link::BoardCommand;
using text::Msg;

namespace {

enum class Kind { Program, Read, Verify, BlankCheck };

// How a memory is missing that the command needs.
enum class NeedsEeprom {
    No,
    NotDataFlash,  // a DataFlash's "EEPROM size" is its address shift: refused
    OnChip,        // refused without EEPROM on the chip, or on a DataFlash
};

// One operation's choices and texts.
struct OperationRow {
    MemoryOperation operation;
    Kind kind;
    bool flash;
    BoardCommand blockCommand;
    NeedsEeprom needsEeprom = NeedsEeprom::No;
    Msg start;
    Msg success;
    std::optional<Msg> mismatch{};  // a verify that found a difference
    Msg cancelled;
    std::optional<Msg> pollingFailure{};  // the board's data polling gave up: box and status
    std::optional<Msg> notBlank{};        // a blank check that found a programmed byte
    Msg failureBox;
    Msg failureStatus;
};

constexpr OperationRow kOperationRows[] = {
    {.operation = MemoryOperation::ProgramFlash,
     .kind = Kind::Program,
     .flash = true,
     .blockCommand = BoardCommand::CMD_WRITE_BLOCK,
     .start = Msg::ProgrammingFlash,
     .success = Msg::FlashProgramDone,
     .cancelled = Msg::ProgrammingCancelled,
     .pollingFailure = Msg::PollingError,
     .failureBox = Msg::ErrorProgrammingFlash,
     .failureStatus = Msg::FlashProgramError},
    {.operation = MemoryOperation::ProgramEeprom,
     .kind = Kind::Program,
     .flash = false,
     .blockCommand = BoardCommand::CMD_WRITE_EEPROM_BLOCK,
     .needsEeprom = NeedsEeprom::NotDataFlash,
     .start = Msg::ProgrammingEeprom,
     .success = Msg::EepromProgramDone,
     .cancelled = Msg::EepromProgramCancelled,
     .pollingFailure = Msg::PollingError,
     .failureBox = Msg::ErrorProgrammingEeprom,
     .failureStatus = Msg::ErrorProgrammingEeprom},
    {.operation = MemoryOperation::ReadFlash,
     .kind = Kind::Read,
     .flash = true,
     .blockCommand = BoardCommand::CMD_READ_BLOCK,
     .start = Msg::ReadingFlash,
     .success = Msg::FlashReadOk,
     .cancelled = Msg::FlashReadCancelled,
     .failureBox = Msg::ErrorReadingFlash,
     .failureStatus = Msg::FlashReadError},
    {.operation = MemoryOperation::ReadEeprom,
     .kind = Kind::Read,
     .flash = false,
     .blockCommand = BoardCommand::CMD_READ_EEPROM_BLOCK,
     .needsEeprom = NeedsEeprom::OnChip,
     .start = Msg::ReadingEeprom,
     .success = Msg::EepromReadOk,
     .cancelled = Msg::EepromReadCancelled,
     .failureBox = Msg::ErrorReadingEeprom,
     .failureStatus = Msg::ErrorReadingEeprom},
    {.operation = MemoryOperation::VerifyFlash,
     .kind = Kind::Verify,
     .flash = true,
     .blockCommand = BoardCommand::CMD_READ_BLOCK,
     .start = Msg::VerifyingFlash,
     .success = Msg::FlashVerifyOk,
     .mismatch = Msg::FlashVerifyMismatch,
     .cancelled = Msg::FlashVerifyCancelled,
     .failureBox = Msg::ConnectionErrorVerifyingFlash,
     .failureStatus = Msg::ConnectionErrorVerifyingFlash},
    {.operation = MemoryOperation::VerifyEeprom,
     .kind = Kind::Verify,
     .flash = false,
     .blockCommand = BoardCommand::CMD_READ_EEPROM_BLOCK,
     .needsEeprom = NeedsEeprom::OnChip,
     .start = Msg::VerifyingEeprom,
     .success = Msg::EepromVerifyOk,
     .mismatch = Msg::EepromVerifyMismatch,
     .cancelled = Msg::EepromVerifyCancelled,
     .failureBox = Msg::ConnectionErrorVerifyingEeprom,
     .failureStatus = Msg::ConnectionErrorVerifyingEeprom},
    {.operation = MemoryOperation::BlankCheck,
     .kind = Kind::BlankCheck,
     .flash = true,
     .blockCommand = BoardCommand::CMD_READ_BLOCK,
     .start = Msg::CheckingDevice,
     .success = Msg::BlankCheckBlank,
     .cancelled = Msg::BlankCheckCancelled,
     .notBlank = Msg::BlankCheckNotEmpty,
     .failureBox = Msg::ErrorCheckingFlash,
     .failureStatus = Msg::BlankCheckError},
};

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
            results.lastOperationStatus = workspace::OperationStatus::Failed;
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
        std::optional<BufferReservation> serialNumber;
        if (row_.kind == Kind::Program) {
            serialNumber.emplace(ws_, row_.flash);
            if (serialNumber->failed())
                return false;
        }
        const devices::DeviceInfo& device = ws_.projectDeviceInfo();
        memorySize_ = std::max(row_.flash ? device.flashSize : device.eepromSize, 0);

        if (!connect(ws_, memorySpeed(ws_))) {
            ws_.link().endSession();  // the connect has said why
            return false;
        }
        if (!signatureAllows())
            return false;
        // Only now: a board that cannot be reached, or another chip, leaves the
        // loaded image alone.
        if (row_.kind == Kind::Read)
            buffer_->create(static_cast<std::size_t>(memorySize_));

        const base::EndCode code = runWorker();
        const bool succeeded = report(code);
        endSession();
        if (row_.kind == Kind::Read) {
            // The length and checksum replace the result text, whatever it was.
            messages_.status(
                text::formatUiText(row_.flash ? text::Msg::FlashLength : text::Msg::EepromLength,
                                   buffer_->size(), buffer_->size(), buffer_->checksum16()));
        }
        if (row_.kind == Kind::Program && !serialNumber->reserved())
            applyAutoIncrement(ws_, row_.flash);
        return succeeded;
    }

private:
    bool preconditionsHold() {
        if (row_.kind == Kind::Verify && buffer_->size() == 0) {
            messages_.status(row_.flash ? text::Msg::NoFlashFile : text::Msg::NoEepromFile);
            return false;
        }
        if (row_.kind == Kind::Program && serialNumberCannotBeSaved())
            return false;
        const devices::DeviceInfo& device = ws_.selectedDeviceInfo();
        // A chip without Flash (an AT25 EEPROM) gets nothing sent for it.
        if (buffer_ == &ws_.flash() && device.flashSize == 0) {
            messages_.status(text::formatUiText(text::Msg::NoFlashMemory, device.name));
            return false;
        }
        const bool refused = (row_.needsEeprom == NeedsEeprom::OnChip && device.eepromSize == 0) ||
                             (row_.needsEeprom != NeedsEeprom::No &&
                              !chips::driverFor(device).abilities().eepromMemory);
        if (refused)
            messages_.status(text::Msg::NoEepromOnChip);
        return !refused;
    }

    bool signatureAllows() {
        if (ws_.signatureBeforeMemoryCommands)
            return row_.kind == Kind::BlankCheck ||
                   signatureAllowsMemoryCommand(ws_, row_.kind == Kind::Program, row_.cancelled);
        return row_.operation != MemoryOperation::ProgramFlash ||
               !chips::driverFor(ws_.selectedDeviceInfo()).abilities().signatureBeforeProgramming ||
               !ws_.project().checkSign || signatureAllowsProgramming(ws_);
    }

    // A serial number stepped in a buffer whose file is never written (ELF)
    // would program the same number into the next chip: refused up front.
    bool serialNumberCannotBeSaved() {
        const auto& project = ws_.project();
        const bool increments = row_.flash ? project.autoIncrementFlash : project.autoIncrement;
        if (!increments || !buffer_->hasFilePath() || buffer_->savesToItsFile())
            return false;
        ws_.user().showMessage(
            text::formatUiText(text::Msg::SerialNumberNotWritable, buffer_->path()),
            base::MessageIcon::Error, text::GetUiText(text::Msg::ProgrammerCaption));
        messages_.status(row_.cancelled);
        return true;
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
            messages_.status(*row_.notBlank);
            results.lastOperationStatus = workspace::OperationStatus::NotBlank;
            return false;
        }
        if (cancelled_) {
            messages_.status(row_.cancelled);
        } else if (code == base::EndCode::PollingFailure && row_.pollingFailure) {
            showFailure(*row_.pollingFailure, *row_.pollingFailure);
        } else {
            showFailure(row_.failureBox, row_.failureStatus);
        }
        return false;
    }

    bool reportSuccess() {
        auto& results = ws_.results;
        // The data bytes written or compared; fill is neither.
        const auto count = static_cast<int>(
            buffer_ ? buffer_->dataByteCount(static_cast<std::size_t>(memorySize_)) : 0);
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
                messages_.status(text::formatUiText(*row_.mismatch, results.firstMismatch,
                                                    results.firstMismatch, verify_.expected,
                                                    verify_.read, verify_.differing));
                return false;
            }
            messages_.status(text::formatUiText(row_.success, count));
            (row_.flash ? results.flashVerified : results.eepromVerified) = true;
            break;
        }
        if (row_.kind != Kind::Read)
            results.lastOperationStatus = workspace::OperationStatus::Succeeded;
        return true;
    }

    void showFailure(Msg boxKey, Msg statusKey) {
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

#include "operations/AutoProgram.h"

#include "chips/ChipDriver.h"
#include "devices/LockoutCheck.h"
#include "link/LinkMessages.h"
#include "operations/BoardAccess.h"
#include "operations/BufferCommands.h"
#include "operations/ChipErase.h"
#include "operations/LockFuseOnChip.h"
#include "operations/OperationFrame.h"
#include "operations/SerialNumber.h"
#include "operations/SerialReservation.h"
#include "text/UiText.h"

namespace zavuv::operations {

namespace {

constexpr int kSettleMs = 50;

// One memory's steps: its buffer, options and error texts.
struct MemorySteps {
    buffers::MemoryBuffer& buffer;
    bool& increment;
    int incrementAddress;
    bool reload;
    bool program;
    bool verify;
    bool (*programStep)(workspace::Workspace&);
    bool (*verifyStep)(workspace::Workspace&);
    const bool& verified;
    const BufferReservation& serialNumber;
    text::Msg reloadError;
    text::Msg programError;
    text::Msg verifyError;
};

class Sequence {
public:
    Sequence(workspace::Workspace& ws, LockoutPolicy lockout)
        : ws_(ws), project_(ws.project()), lockout_(lockout) {}

    void run();
    const AutoProgramOutcome& outcome() const { return outcome_; }

private:
    bool failed() const {
        return ws_.results.lastOperationStatus == workspace::OperationStatus::Failed;
    }
    void status(text::Msg key) { ws_.user().setStatus(text::GetUiText(key)); }
    // Before each erase, blank check, program and verify: the reset strobe's time.
    void pause() {
        status(text::Msg::Pausing);
        ws_.link().pauseUnlessStopped(project_.resetStrobeLength);
    }
    void settle() { ws_.link().pause(kSettleMs); }
    // Ends the sequence with this step's error text.
    bool fail(text::Msg key) {
        status(key);
        outcome_.failureKey = key;
        return false;
    }
    // False when the run must not go on: the person declined, or nobody was
    // there to allow it.
    bool lockoutAccepted();
    bool lockFuseStep();
    // False after a failure ending; `bytes` and `incremented` report what was done.
    bool memorySteps(const MemorySteps& steps, int& bytes, bool& incremented);
    void ending(int flashBytes, int eepromBytes);

    workspace::Workspace& ws_;
    buffers::ProjectSettings& project_;
    const LockoutPolicy lockout_;
    bool anyAction_ = false;
    AutoProgramOutcome outcome_;
};

bool Sequence::lockoutAccepted() {
    const devices::LockFuseLayout* layout = projectLockFuseLayout(ws_);
    if (!project_.programFuse || !layout)
        return true;
    // The chip's own bits are not known before the run: its factory settings stand in.
    const devices::DeviceInfo& device = ws_.projectDeviceInfo();
    const std::vector<devices::LockoutFinding> findings =
        devices::lockoutFindings(*layout, devices::factoryState(device, *layout), project_.lockFuse,
                                 chips::driverFor(device).abilities().lockModeTexts);
    if (findings.empty())
        return true;
    switch (lockout_) {
    case LockoutPolicy::Ask:
        return devices::confirmLockout(findings, ws_.user());
    case LockoutPolicy::Forced:
        ws_.user().setStatus(text::formatUiText(text::Msg::LockoutAllowed, "--force-lockout"));
        return true;
    case LockoutPolicy::Unattended:
        break;
    }
    if (project_.allowLockout) {
        ws_.user().setStatus(text::formatUiText(text::Msg::LockoutAllowed, "AllowLockout=1"));
        return true;
    }
    ws_.connection().messages().box(
        std::string(text::GetUiText(text::Msg::AutoProgramLockoutRefused)) + "\n" +
        *devices::lockoutText(findings));
    return false;
}

bool Sequence::lockFuseStep() {
    status(text::Msg::AutoProgramLockBits);
    const base::BusyScope busy(ws_.user());
    if (programLockFuse(ws_, project_.lockFuse, project_.programFuse))
        return true;
    ws_.connection().messages().box(text::Msg::ErrorProgrammingLockBits);
    return fail(text::Msg::AutoProgramErrorLockFuse);
}

bool Sequence::memorySteps(const MemorySteps& steps, int& bytes, bool& incremented) {
    if (steps.buffer.size() == 0)
        return true;
    const IncrementPaused paused(steps.increment);
    // A reserved number was read from the file just now; reading it again
    // could take the next station's number.
    if (steps.reload && !steps.serialNumber.reserved()) {
        reloadBuffer(ws_, steps.buffer);
        if (failed())
            return fail(steps.reloadError);
        settle();
    }
    if (steps.program) {
        anyAction_ = true;
        bytes = static_cast<int>(steps.buffer.dataByteCount());
        pause();
        steps.programStep(ws_);
        if (failed())
            return fail(steps.programError);
        settle();
    }
    if (steps.verify) {
        anyAction_ = true;
        pause();
        steps.verifyStep(ws_);
        if (failed() || !steps.verified)
            return fail(steps.verifyError);
        settle();
    }
    if (paused.wasOn() && !steps.serialNumber.reserved())
        incrementSerialNumber(steps.buffer, steps.incrementAddress);
    incremented = paused.wasOn();
    return true;
}

void Sequence::ending(int flashBytes, int eepromBytes) {
    if (!anyAction_)
        return status(text::Msg::AutoProgramNoActions);
    if (!ws_.results.flashVerified || !ws_.results.eepromVerified)
        return status(text::Msg::AutoProgramVerifyFailed);
    if (flashBytes && eepromBytes)
        ws_.user().setStatus(
            text::formatUiText(text::Msg::AutoProgramDoneBoth, flashBytes, eepromBytes));
    else if (flashBytes)
        ws_.user().setStatus(text::formatUiText(text::Msg::AutoProgramDoneFlash, flashBytes));
    else if (eepromBytes)
        ws_.user().setStatus(text::formatUiText(text::Msg::AutoProgramDoneEeprom, eepromBytes));
    else
        status(text::Msg::AutoProgramDoneNothing);
    ws_.results.autoprogramOk = true;
}

void Sequence::run() {
    ws_.results.flashVerified = ws_.results.eepromVerified = true;
    int flashBytes = 0;
    int eepromBytes = 0;
    if (!requireBoard(ws_))
        return;
    // A refused run takes no serial number.
    if (!lockoutAccepted())
        return (void)fail(text::Msg::AutoProgramErrorLockFuse);
    // Every number is saved as taken before anything is programmed.
    // The reservation has put the file's name on the status line.
    const BufferReservation flashNumber(ws_, true);
    if (flashNumber.failed())
        return (void)(outcome_.failureKey = text::Msg::SerialNumberNotReserved);
    const BufferReservation eepromNumber(ws_, false);
    if (eepromNumber.failed())
        return (void)(outcome_.failureKey = text::Msg::SerialNumberNotReserved);
    status(text::Msg::AutoProgramStarted);

    if (project_.autoErase) {
        anyAction_ = true;
        pause();
        chipErase(ws_);
        if (failed())
            return (void)fail(text::Msg::AutoProgramErrorErasing);
        settle();
    }
    if (project_.autoEmptyCheck) {
        pause();
        blankCheck(ws_);
        if (ws_.results.lastOperationStatus == workspace::OperationStatus::NotBlank)
            return (void)fail(text::Msg::AutoProgramErrorNotEmpty);
        if (failed())
            return (void)fail(text::Msg::AutoProgramErrorChecking);
        settle();
    }
    if (project_.programFuse && project_.programFuseBeforeAll && !lockFuseStep())
        return;

    const MemorySteps flash{.buffer = ws_.flash(),
                            .increment = project_.autoIncrementFlash,
                            .incrementAddress = project_.autoIncAddressFlash,
                            .reload = project_.autoFlashReload,
                            .program = project_.autoFlashProgram,
                            .verify = project_.autoFlashVerify,
                            .programStep = programFlash,
                            .verifyStep = verifyFlash,
                            .verified = ws_.results.flashVerified,
                            .serialNumber = flashNumber,
                            .reloadError = text::Msg::AutoProgramErrorReloadingFlash,
                            .programError = text::Msg::AutoProgramErrorProgrammingFlash,
                            .verifyError = text::Msg::AutoProgramErrorVerifyingFlash};
    if (!memorySteps(flash, flashBytes, outcome_.flashIncremented))
        return;
    const MemorySteps eeprom{.buffer = ws_.eeprom(),
                             .increment = project_.autoIncrement,
                             .incrementAddress = project_.autoIncAddress,
                             .reload = project_.autoEepromReload,
                             .program = project_.autoEepromProgram,
                             .verify = project_.autoEepromVerify,
                             .programStep = programEeprom,
                             .verifyStep = verifyEeprom,
                             .verified = ws_.results.eepromVerified,
                             .serialNumber = eepromNumber,
                             .reloadError = text::Msg::AutoProgramErrorReloadingEeprom,
                             .programError = text::Msg::AutoProgramErrorProgrammingEeprom,
                             .verifyError = text::Msg::AutoProgramErrorVerifyingEeprom};
    if (!memorySteps(eeprom, eepromBytes, outcome_.eepromIncremented))
        return;

    if (project_.programFuse && !project_.programFuseBeforeAll && !lockFuseStep())
        return;
    ending(flashBytes, eepromBytes);
}

// The run nobody watches, for as long as it runs.
class UnattendedScope {
public:
    explicit UnattendedScope(workspace::Workspace& ws) : ws_(ws), was_(ws.unattended) {
        ws_.unattended = true;
    }
    ~UnattendedScope() { ws_.unattended = was_; }
    UnattendedScope(const UnattendedScope&) = delete;
    UnattendedScope& operator=(const UnattendedScope&) = delete;

private:
    workspace::Workspace& ws_;
    const bool was_;
};

}  // namespace

AutoProgramOutcome autoProgram(workspace::Workspace& ws, LockoutPolicy lockout) {
    Sequence sequence(ws, lockout);
    sequence.run();
    return sequence.outcome();
}

bool autoProgramUnattended(workspace::Workspace& ws, bool forceLockout) {
    ws.results.autoprogramOk = false;
    const UnattendedScope unattended(ws);
    autoProgram(ws, forceLockout ? LockoutPolicy::Forced : LockoutPolicy::Unattended);
    return ws.results.autoprogramOk;
}

}  // namespace zavuv::operations

#include "operations/AutoProgram.h"

#include "operations/BoardAccess.h"
#include "operations/BufferCommands.h"
#include "operations/ChipErase.h"
#include "operations/LockFuseOnChip.h"
#include "operations/OperationFrame.h"
#include "operations/SerialNumber.h"
#include "text/UiText.h"

namespace zavuv::operations {

namespace {

constexpr int kSettleMs = 50;
constexpr int kSerialNumberSaved = 1215;

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
    int reloadError;
    int programError;
    int verifyError;
};

// Program must not increment by itself while the sequence runs: the sequence
// increments once, after verifying, so the chip gets the number the buffer held.
class IncrementPaused {
public:
    explicit IncrementPaused(bool& flag) : flag_(flag), wasOn_(flag) { flag_ = false; }
    ~IncrementPaused() { flag_ = wasOn_; }
    IncrementPaused(const IncrementPaused&) = delete;
    IncrementPaused& operator=(const IncrementPaused&) = delete;
    bool wasOn() const { return wasOn_; }

private:
    bool& flag_;
    const bool wasOn_;
};

class Sequence {
public:
    explicit Sequence(workspace::Workspace& ws) : ws_(ws), project_(ws.project()) {}

    void run();
    const AutoProgramOutcome& outcome() const { return outcome_; }

private:
    int status() const { return ws_.results.lastOperationStatus; }
    void status(int key) { ws_.user().setStatus(text::GetUiText(key)); }
    // Before each erase, blank check, program and verify: the reset strobe's time.
    void pause() {
        status(1180);
        ws_.link().pause(project_.resetStrobeLength);
    }
    void settle() { ws_.link().pause(kSettleMs); }
    // Ends the sequence with this step's error text.
    bool fail(int key) {
        status(key);
        outcome_.failureKey = key;
        return false;
    }
    void lockFuseStep();
    // False after a failure ending; `bytes` and `incremented` report what was done.
    bool memorySteps(const MemorySteps& steps, int& bytes, bool& incremented);
    void ending(int flashBytes, int eepromBytes);

    workspace::Workspace& ws_;
    buffers::ProjectSettings& project_;
    bool anyAction_ = false;
    AutoProgramOutcome outcome_;
};

void Sequence::lockFuseStep() {
    status(1131);
    const base::BusyScope busy(ws_.user());
    if (!programLockFuse(ws_, project_.lockFuse, project_.programFuse))
        ws_.connection().messages().box(1132);
}

bool Sequence::memorySteps(const MemorySteps& steps, int& bytes, bool& incremented) {
    if (steps.buffer.size() == 0)
        return true;
    const IncrementPaused paused(steps.increment);
    if (steps.reload) {
        reloadBuffer(ws_, steps.buffer);
        if (status() < 0)
            return fail(steps.reloadError);
        settle();
    }
    if (steps.program) {
        anyAction_ = true;
        bytes = static_cast<int>(steps.buffer.size());
        pause();
        steps.programStep(ws_);
        if (status() < 0)
            return fail(steps.programError);
        settle();
    }
    if (steps.verify) {
        anyAction_ = true;
        pause();
        steps.verifyStep(ws_);
        if (status() < 0 || !steps.verified)
            return fail(steps.verifyError);
        settle();
    }
    if (paused.wasOn()) {
        incrementSerialNumber(steps.buffer, steps.incrementAddress);
        incremented = true;
    }
    return true;
}

void Sequence::ending(int flashBytes, int eepromBytes) {
    if (!anyAction_)
        return status(1133);
    if (!ws_.results.flashVerified || !ws_.results.eepromVerified)
        return status(1067);
    if (flashBytes && eepromBytes)
        ws_.user().setStatus(text::formatUiText(1066, flashBytes, eepromBytes));
    else if (flashBytes)
        ws_.user().setStatus(text::formatUiText(1064, flashBytes));
    else if (eepromBytes)
        ws_.user().setStatus(text::formatUiText(1065, eepromBytes));
    else
        status(1063);
    ws_.results.autoprogramOk = true;
}

void Sequence::run() {
    ws_.results.flashVerified = ws_.results.eepromVerified = true;
    int flashBytes = 0;
    int eepromBytes = 0;
    if (!requireBoard(ws_))
        return;
    status(1121);

    if (project_.autoErase) {
        anyAction_ = true;
        pause();
        chipErase(ws_);
        if (status() < 0)
            return (void)fail(1122);
        settle();
    }
    if (project_.autoEmptyCheck) {
        pause();
        blankCheck(ws_);
        if (status() == 1)
            return (void)fail(1123);
        if (status() < 0)
            return (void)fail(1124);
        settle();
    }
    if (project_.programFuse && project_.programFuseBeforeAll)
        lockFuseStep();

    const MemorySteps flash{ws_.flash(),
                            project_.autoIncrementFlash,
                            project_.autoIncAddressFlash,
                            project_.autoFlashReload,
                            project_.autoFlashProgram,
                            project_.autoFlashVerify,
                            programFlash,
                            verifyFlash,
                            ws_.results.flashVerified,
                            1125,
                            1126,
                            1127};
    if (!memorySteps(flash, flashBytes, outcome_.flashIncremented))
        return;
    const MemorySteps eeprom{ws_.eeprom(),
                             project_.autoIncrement,
                             project_.autoIncAddress,
                             project_.autoEepromReload,
                             project_.autoEepromProgram,
                             project_.autoEepromVerify,
                             programEeprom,
                             verifyEeprom,
                             ws_.results.eepromVerified,
                             1128,
                             1129,
                             1130};
    if (!memorySteps(eeprom, eepromBytes, outcome_.eepromIncremented))
        return;

    if (project_.programFuse && !project_.programFuseBeforeAll)
        lockFuseStep();
    ending(flashBytes, eepromBytes);
}

void saveIncremented(workspace::Workspace& ws, buffers::MemoryBuffer& buffer) {
    // The buffer reports a failed save itself; the chip is programmed either way.
    if (buffer.hasFilePath() && buffer.save())
        ws.user().setStatus(text::formatUiText(kSerialNumberSaved, buffer.path()));
}

}  // namespace

AutoProgramOutcome autoProgram(workspace::Workspace& ws) {
    Sequence sequence(ws);
    sequence.run();
    return sequence.outcome();
}

bool autoProgramUnattended(workspace::Workspace& ws) {
    ws.results.autoprogramOk = false;
    const AutoProgramOutcome outcome = autoProgram(ws);
    if (outcome.flashIncremented)
        saveIncremented(ws, ws.flash());
    if (outcome.eepromIncremented)
        saveIncremented(ws, ws.eeprom());
    // A number programmed before a later step failed is saved all the same, so
    // that no two chips share it; the failure stays the run's last word.
    if (outcome.failureKey != 0 && (outcome.flashIncremented || outcome.eepromIncremented))
        ws.user().setStatus(text::GetUiText(outcome.failureKey));
    return ws.results.autoprogramOk;
}

}  // namespace zavuv::operations

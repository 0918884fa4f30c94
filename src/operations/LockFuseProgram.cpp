// Writing lock and fuse bits into the chip: one sequence per instruction set.

#include "operations/LockFuseOnChip.h"

#include <span>
#include <string_view>

#include "devices/At89SLockCoding.h"
#include "devices/FuseCoding.h"
#include "devices/LockByteCoding.h"
#include "link/LinkMessages.h"
#include "operations/BoardAccess.h"
#include "text/UiText.h"

namespace zavuv::operations {

using devices::FuseByte;
using devices::Instruction;
using devices::LockFuseLayout;
using devices::LockFuseState;
using devices::ProgAlgorithm;
using link::BoardCommand;

namespace {

// Lock and fuse writes take the chip this long before it acknowledges them.
constexpr int kWritePauseMs = 40;
// Each AT89S51-style lock level is a write of its own that must finish first.
constexpr int kLockStepPauseMs = 250;
constexpr int kLockLevelPauseMs = 150;

constexpr int kErrorProgramming = 1108;
constexpr int kProgrammed = 1109;

enum class Outcome { Acknowledged, SendFailed, Refused };

Outcome sendInstruction(link::ProgrammerLink& link, BoardCommand command,
                        std::span<const std::uint8_t> instruction, int replyPauseMs) {
    if (!link.send(command, instruction))
        return Outcome::SendFailed;
    if (replyPauseMs > 0)
        link.pause(replyPauseMs);
    return link.expectAck() ? Outcome::Acknowledged : Outcome::Refused;
}

class LockFuseWriter {
public:
    LockFuseWriter(workspace::Workspace& ws, const LockFuseLayout& layout,
                   const LockFuseState& state)
        : link_(ws.link()), messages_(ws.connection().messages()), layout_(layout), state_(state) {}

    // Fuse bytes low, high, extended, then the lock byte when it programs
    // anything; the first failure stops the sequence.
    Outcome avr(bool programFuses) {
        if (programFuses && layout_.fuseCount > 0) {
            for (const Instruction& fuse : encodeFuseInstructions(layout_, state_))
                if (!reportedAtOnce(sendInstruction(link_, BoardCommand::CMD_SPI4, fuse, 0)))
                    return failed_;
            messages_.status(kProgrammed);
        }
        if (const auto lock = encodeLockInstruction(layout_, state_)) {
            if (!reportedAtOnce(
                    sendInstruction(link_, BoardCommand::CMD_SPI4, *lock, kWritePauseMs)))
                return failed_;
            messages_.status(kProgrammed);
        }
        return Outcome::Acknowledged;
    }

    // The whole lock level in one instruction, sent even for mode 0, then the
    // fuse byte whatever the caller asked for.
    Outcome at89s8253() {
        const Instruction lock = encodeAt89SLockLevel(layout_, state_);
        if (!reportedAtOnce(sendInstruction(link_, BoardCommand::CMD_SPI4, lock, kWritePauseMs)))
            return failed_;
        messages_.status(kProgrammed);
        if (const auto fuse = encodeFuseInstruction(layout_, FuseByte::Low, state_)) {
            if (!reportedAtOnce(
                    sendInstruction(link_, BoardCommand::CMD_SPI4, *fuse, kWritePauseMs)))
                return failed_;
            messages_.status(kProgrammed);
        }
        return Outcome::Acknowledged;
    }

    // One instruction per lock level; a refused level does not stop the next.
    Outcome at89s51LockSteps() {
        Outcome outcome = Outcome::Acknowledged;
        for (const Instruction& step : encodeAt89SLockSteps(layout_, state_)) {
            const Outcome sent = sendInstruction(link_, BoardCommand::CMD_SPI4, step, 0);
            link_.pause(kLockStepPauseMs);
            if (sent == Outcome::SendFailed)
                return linkFailure();
            if (sent == Outcome::Refused)
                outcome = Outcome::Refused;
            else
                messages_.status(kProgrammed);
        }
        return outcome;
    }

    // The AT89S8252 and AT89S53 take the lock level in a 3-byte instruction.
    Outcome at89s8252LockLevel() {
        const Instruction lock = encodeAt89SLockLevel(layout_, state_);
        const Outcome sent =
            sendInstruction(link_, BoardCommand::CMD_SPI3, std::span(lock).first(3), 0);
        if (sent == Outcome::SendFailed)
            return linkFailure();
        link_.pause(kLockLevelPauseMs);
        if (sent == Outcome::Acknowledged)
            messages_.status(kProgrammed);
        return sent;
    }

private:
    Outcome linkFailure() {
        messages_.box(link::msg::kConnectionError);
        return Outcome::SendFailed;
    }

    bool reportedAtOnce(Outcome outcome) {
        failed_ = outcome;
        if (outcome == Outcome::SendFailed)
            messages_.box(link::msg::kConnectionError);
        else if (outcome == Outcome::Refused)
            messages_.box(kErrorProgramming);
        return outcome == Outcome::Acknowledged;
    }

    link::ProgrammerLink& link_;
    link::LinkMessages& messages_;
    const LockFuseLayout& layout_;
    const LockFuseState& state_;
    Outcome failed_ = Outcome::Acknowledged;
};

}  // namespace

bool programLockFuse(workspace::Workspace& ws, const LockFuseState& state, bool programFuses) {
    base::BusyScope busy(ws.user());
    auto& messages = ws.connection().messages();
    if (!requireBoard(ws))
        return false;
    const LockFuseLayout* layout = projectLockFuseLayout(ws);
    if (!layout) {
        // A chip without lock or fuse bits: nothing could be written.
        messages.box(kErrorProgramming);
        return false;
    }
    if (!connect(ws, link::SpeedCode::Baud19200))
        return false;

    const devices::DeviceInfo& device = ws.projectDeviceInfo();
    LockFuseWriter writer(ws, *layout, state);
    Outcome outcome;
    bool refusalToReport = false;
    if (device.algorithm == ProgAlgorithm::Avr) {
        outcome = writer.avr(programFuses);
    } else if (std::string_view(device.name) == "AT89S8253") {
        outcome = writer.at89s8253();
    } else {
        outcome = device.algorithm == ProgAlgorithm::At89S51 ||
                          device.algorithm == ProgAlgorithm::At89S8253
                      ? writer.at89s51LockSteps()
                      : writer.at89s8252LockLevel();
        // These sequences report a refusal only once the session has ended.
        refusalToReport = outcome == Outcome::Refused;
    }
    endSessionWarning(ws);
    if (refusalToReport)
        messages.box(kErrorProgramming);
    if (outcome != Outcome::Acknowledged)
        return false;
    messages.box(kProgrammed);
    return true;
}

}  // namespace zavuv::operations

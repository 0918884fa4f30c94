// Reading lock and fuse bits from the chip.

#include "operations/LockFuseOnChip.h"

#include <optional>
#include <string_view>

#include "devices/At89SLockCoding.h"
#include "devices/FuseCoding.h"
#include "devices/LockByteCoding.h"
#include "link/LinkMessages.h"
#include "operations/BoardAccess.h"
#include "operations/Signature.h"
#include "text/UiText.h"

namespace zavuv::operations {

using devices::FuseByte;
using devices::LockFuseLayout;
using devices::LockFuseState;
using devices::ProgAlgorithm;
using link::BoardCommand;

namespace {

constexpr int kQuestionCaption = 1016;
constexpr int kSignatureQuestion = 1049;
constexpr int kNotReadable = 1059;
constexpr int kSignatureConnectionError = 1105;
constexpr int kOperationCancelled = 1106;
constexpr int kVerifyingSignature = 1107;

enum class SignatureCheck { Accepted, Declined, Unreadable };

bool isSelectedDevice(workspace::Workspace& ws, const SignatureBytes& read) {
    const devices::DeviceInfo& selected = ws.selectedDeviceInfo();
    const devices::Signature signature{static_cast<std::uint8_t>(read[0]),
                                       static_cast<std::uint8_t>(read[1]),
                                       static_cast<std::uint8_t>(read[2])};
    return signature == selected.signature || signature == selected.altSignature;
}

// Reads the signature on the open session; a chip other than the selected
// one (or a locked one) goes on only when the person says so.
SignatureCheck checkSignature(workspace::Workspace& ws) {
    if (!readSignature(ws))
        return SignatureCheck::Unreadable;
    if (isSelectedDevice(ws, ws.results.signature))
        return SignatureCheck::Accepted;
    const base::Answer answer = ws.user().ask(
        text::GetUiText(kSignatureQuestion), base::QuestionButtons::YesNo,
        base::MessageIcon::Question, base::Answer::No, text::GetUiText(kQuestionCaption));
    return answer == base::Answer::Yes ? SignatureCheck::Accepted : SignatureCheck::Declined;
}

// Ends the session of a read that cannot go on; always false.
bool giveUp(workspace::Workspace& ws, LockFuseState& state, int statusKey, int boxKey) {
    ws.link().endSession();
    state = {};
    if (statusKey != 0)
        ws.connection().messages().status(statusKey);
    if (boxKey != 0)
        ws.connection().messages().box(boxKey);
    return false;
}

std::optional<std::uint8_t> readInstruction(link::ProgrammerLink& link,
                                            const devices::ReadCommand& command) {
    if (!link.send(BoardCommand::CMD_SPI_READ, command))
        return std::nullopt;
    const int answer = link.receiveByte();
    if (answer < 0)
        return std::nullopt;
    return static_cast<std::uint8_t>(answer);
}

bool readAvrBits(workspace::Workspace& ws, const LockFuseLayout& layout, LockFuseState& state) {
    const auto lock = readInstruction(ws.link(), layout.lockReadCmd);
    if (!lock)
        return false;
    decodeLockByte(layout, *lock, state, ws.user());
    std::vector<std::uint8_t> answers;
    for (FuseByte which : fuseReadOrder(layout)) {
        const auto answer = readInstruction(ws.link(), layout.fuseByte(which).readCmd);
        if (!answer)
            return false;
        answers.push_back(*answer);
    }
    decodeFuseBytes(layout, *lock, answers, state);
    return true;
}

bool readAt89SBits(workspace::Workspace& ws, const devices::DeviceInfo& device,
                   const LockFuseLayout& layout, LockFuseState& state) {
    const auto lock = readInstruction(ws.link(), layout.lockReadCmd);
    if (!lock)
        return false;
    state.lockMode = std::string_view(device.name) == "AT89S8253"
                         ? decodeAt89S8253LockAnswer(layout, *lock)
                         : decodeAt89S51LockAnswer(layout, *lock);
    const devices::FuseByteLayout& low = layout.fuseByte(FuseByte::Low);
    if (!low.readable)
        return true;
    const auto fuses = readInstruction(ws.link(), low.readCmd);
    if (!fuses)
        return false;
    decodeFuseByte(layout, FuseByte::Low, *fuses, state);
    return true;
}

// An AVR chip without readable bits still has its signature checked, so that
// the person learns of a wrong or locked chip before editing its bits.
bool reportNotReadable(workspace::Workspace& ws, const devices::DeviceInfo& device,
                       LockFuseState& state) {
    auto& messages = ws.connection().messages();
    if (device.algorithm == ProgAlgorithm::Avr) {
        messages.status(kVerifyingSignature);
        if (!connect(ws, link::SpeedCode::Baud19200))
            return false;
        switch (checkSignature(ws)) {
        case SignatureCheck::Unreadable:
            return giveUp(ws, state, 0, link::msg::kConnectionError);
        case SignatureCheck::Declined:
            return giveUp(ws, state, kOperationCancelled, 0);
        case SignatureCheck::Accepted:
            break;
        }
        endSessionWarning(ws);
    }
    messages.box(kNotReadable);
    return true;
}

}  // namespace

const devices::LockFuseLayout* projectLockFuseLayout(const workspace::Workspace& ws) {
    return devices::layoutOf(ws.targetOptions().deviceNo);
}

bool readLockFuse(workspace::Workspace& ws, LockFuseState& state) {
    state = {};
    base::BusyScope busy(ws.user());
    const devices::DeviceInfo& device = ws.projectDeviceInfo();
    const LockFuseLayout* layout = projectLockFuseLayout(ws);
    if (!layout || !layout->lockReadable)
        return reportNotReadable(ws, device, state);

    state.readable = true;
    if (!connect(ws, link::SpeedCode::Baud19200)) {
        state = {};
        return false;
    }
    bool read = true;
    if (device.algorithm == ProgAlgorithm::Avr) {
        switch (checkSignature(ws)) {
        case SignatureCheck::Unreadable:
            return giveUp(ws, state, 0, kSignatureConnectionError);
        case SignatureCheck::Declined:
            return giveUp(ws, state, kOperationCancelled, 0);
        case SignatureCheck::Accepted:
            break;
        }
        read = readAvrBits(ws, *layout, state);
    } else if (device.algorithm == ProgAlgorithm::At89S51 ||
               device.algorithm == ProgAlgorithm::At89S8253) {
        read = readAt89SBits(ws, device, *layout, state);
    }
    if (!read)
        return giveUp(ws, state, 0, link::msg::kConnectionError);
    endSessionWarning(ws);
    return true;
}

}  // namespace zavuv::operations

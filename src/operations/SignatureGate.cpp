#include "operations/SignatureGate.h"

#include "chips/ChipDriver.h"
#include "link/LinkMessages.h"
#include "operations/Signature.h"
#include "text/UiText.h"

namespace zavuv::operations {

namespace {

bool askYes(workspace::Workspace& ws, const std::string& question, base::Answer defaultAnswer) {
    return ws.user().ask(question, base::QuestionButtons::YesNo, base::MessageIcon::Question,
                         defaultAnswer,
                         text::GetUiText(text::Msg::ProgramTitle)) == base::Answer::Yes;
}

// The question about another chip names the signature read and the one expected.
bool askAboutOtherChip(workspace::Workspace& ws, text::Msg key, base::Answer defaultAnswer) {
    const auto& read = ws.results.signature;
    const devices::DeviceInfo& device = ws.selectedDeviceInfo();
    const auto& expected = device.signature;
    return askYes(ws,
                  std::string(text::GetUiText(key)) + "\n\n" +
                      text::formatUiText(text::Msg::SignatureReadAndExpected, read[0], read[1],
                                         read[2], device.name, expected[0], expected[1],
                                         expected[2]),
                  defaultAnswer);
}

bool declined(workspace::Workspace& ws, text::Msg cancelled = text::Msg::ProgrammingCancelled) {
    ws.results.lastOperationStatus = workspace::OperationStatus::Failed;
    ws.link().endSession();
    ws.connection().messages().status(cancelled);
    return false;
}

// A locked chip answers nothing useful until a chip erase clears its lock bits.
bool eraseLockedChip(workspace::Workspace& ws) {
    if (chips::driverFor(ws.selectedDeviceInfo()).eraseLockedChip(ws.link()))
        return true;
    ws.link().endSession();
    ws.connection().messages().connectionError();
    return false;
}

bool unreadable(workspace::Workspace& ws) {
    ws.connection().messages().status(text::Msg::ConnectionErrorVerifyingSignature);
    ws.connection().messages().box(text::Msg::ConnectionErrorVerifyingSignature);
    ws.link().endSession();
    return false;
}

}  // namespace

bool signatureAllowsProgramming(workspace::Workspace& ws) {
    verifySignature(ws);
    workspace::OperationStatus& status = ws.results.lastOperationStatus;
    bool allowed = true;
    switch (status) {
    case workspace::OperationStatus::Failed:
        return unreadable(ws);
    case workspace::OperationStatus::OtherChip:
        // Only some instruction sets give a signature worth asking about.
        if (chips::driverFor(ws.selectedDeviceInfo()).abilities().asksAboutOtherChip &&
            !askAboutOtherChip(ws, text::Msg::ProgramOtherChipQuestion, base::Answer::Yes))
            return declined(ws);
        break;
    case workspace::OperationStatus::Locked:
        if (!askYes(ws, text::GetUiText(text::Msg::EraseLockedQuestion), base::Answer::No))
            return declined(ws);
        allowed = eraseLockedChip(ws);
        break;
    case workspace::OperationStatus::Succeeded:
    case workspace::OperationStatus::NotBlank:
        break;
    }
    // The verdict is not the programming's outcome: until that succeeds, it failed.
    status = workspace::OperationStatus::Failed;
    return allowed;
}

bool signatureAllowsMemoryCommand(workspace::Workspace& ws, bool programming, text::Msg cancelled) {
    const chips::ChipAbilities& abilities = chips::driverFor(ws.selectedDeviceInfo()).abilities();
    if (abilities.signatureRead != chips::SignatureRead::Instruction)
        return true;
    // An AVR is programmed after the same check, with the offer to erase it when locked.
    if (programming && abilities.asksAboutOtherChip)
        return signatureAllowsProgramming(ws);
    verifyChipSignature(ws);
    workspace::OperationStatus& status = ws.results.lastOperationStatus;
    if (status == workspace::OperationStatus::Failed)
        return unreadable(ws);
    if (status != workspace::OperationStatus::Succeeded &&
        !askAboutOtherChip(ws,
                           programming ? text::Msg::ProgramOtherChipQuestion
                                       : text::Msg::ContinueOtherChipQuestion,
                           base::Answer::No))
        return declined(ws, cancelled);
    status = workspace::OperationStatus::Failed;
    return true;
}

}  // namespace zavuv::operations

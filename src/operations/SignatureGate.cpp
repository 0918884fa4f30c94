#include "operations/SignatureGate.h"

#include "chips/ChipDriver.h"
#include "link/LinkMessages.h"
#include "operations/Signature.h"
#include "text/UiText.h"

namespace zavuv::operations {

namespace {

bool askYes(workspace::Workspace& ws, text::Msg key, base::Answer defaultAnswer) {
    return ws.user().ask(text::GetUiText(key), base::QuestionButtons::YesNo,
                         base::MessageIcon::Question, defaultAnswer,
                         text::GetUiText(text::Msg::ProgramTitle)) == base::Answer::Yes;
}

bool declined(workspace::Workspace& ws) {
    ws.results.lastOperationStatus = workspace::OperationStatus::Failed;
    ws.link().endSession();
    ws.connection().messages().status(text::Msg::ProgrammingCancelled);
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

}  // namespace

bool signatureAllowsProgramming(workspace::Workspace& ws) {
    verifySignature(ws);
    workspace::OperationStatus& status = ws.results.lastOperationStatus;
    bool allowed = true;
    switch (status) {
    case workspace::OperationStatus::Failed:
        ws.connection().messages().status(text::Msg::ConnectionErrorVerifyingSignature);
        ws.connection().messages().box(text::Msg::ConnectionErrorVerifyingSignature);
        ws.link().endSession();
        return false;
    case workspace::OperationStatus::OtherChip:
        // Only some instruction sets give a signature worth asking about.
        if (chips::driverFor(ws.selectedDeviceInfo()).abilities().asksAboutOtherChip &&
            !askYes(ws, text::Msg::ProgramOtherChipQuestion, base::Answer::Yes))
            return declined(ws);
        break;
    case workspace::OperationStatus::Locked:
        if (!askYes(ws, text::Msg::EraseLockedQuestion, base::Answer::No))
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

}  // namespace zavuv::operations

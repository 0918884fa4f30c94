#include "operations/ProgramMemory.h"

#include "chips/ChipDriver.h"
#include "operations/BoardAccess.h"
#include "text/UiText.h"

namespace zavuv::operations {

using base::EndCode;

namespace {

constexpr int kTitle = 1071;
constexpr int kProgrammingFlash = 1072;
constexpr int kProgrammingEeprom = 1073;
constexpr int kSizeWarning = 1028;
constexpr int kCaption = 1025;

bool confirmSizeWarning(workspace::Workspace& ws, const chips::MemoryJob& job) {
    const std::string warning =
        text::formatUiText(kSizeWarning, job.amount(), job.isFlash ? "Flash" : "Eeprom");
    return ws.user().ask(warning, base::QuestionButtons::OkCancel, base::MessageIcon::Question,
                         base::Answer::Ok, text::GetUiText(kCaption)) == base::Answer::Ok;
}

}  // namespace

EndCode programMemory(workspace::Workspace& ws, base::ProgressSink& sink,
                      const chips::MemoryJob& job) {
    const devices::DeviceInfo& device = ws.projectDeviceInfo();
    const chips::ProgressTexts texts{
        text::GetUiText(kTitle),
        text::GetUiText(job.isFlash ? kProgrammingFlash : kProgrammingEeprom)};
    job.buffer.setAllStates(buffers::ByteState::Created);
    if (job.buffer.size() > job.amount() && !confirmSizeWarning(ws, job))
        return EndCode::Cancelled;
    const EndCode code =
        chips::driverFor(device).program(chipSession(ws, device), sink, job, texts);
    if (code == EndCode::Done)
        job.buffer.redraw();
    return code;
}

}  // namespace zavuv::operations

#include "operations/ProgramMemory.h"

#include "chips/ChipDriver.h"
#include "operations/BoardAccess.h"
#include "text/UiText.h"

namespace zavuv::operations {

using base::EndCode;

namespace {

// Data past the chip's memory is asked about, counted when the image has
// gaps; fill past it is left out without a word.
bool confirmSizeWarning(workspace::Workspace& ws, const chips::MemoryJob& job) {
    const std::size_t beyond = job.buffer.dataByteCount() - job.buffer.dataByteCount(job.amount());
    if (beyond == 0)
        return true;
    const char* memory = job.isFlash ? "Flash" : "Eeprom";
    const std::string warning =
        beyond == job.buffer.size() - job.amount()
            ? text::formatUiText(text::Msg::OnlyFirstBytesProcessed, job.amount(), memory)
            : text::formatUiText(text::Msg::DataBeyondMemory, job.amount(), memory, beyond);
    return ws.user().ask(warning, base::QuestionButtons::OkCancel, base::MessageIcon::Question,
                         base::Answer::Ok,
                         text::GetUiText(text::Msg::ProgrammerCaption)) == base::Answer::Ok;
}

}  // namespace

EndCode programMemory(workspace::Workspace& ws, base::ProgressSink& sink,
                      const chips::MemoryJob& job) {
    const devices::DeviceInfo& device = ws.projectDeviceInfo();
    const chips::ProgressTexts texts{
        text::GetUiText(text::Msg::ProgramProgressTitle),
        text::GetUiText(job.isFlash ? text::Msg::ProgrammingFlash : text::Msg::ProgrammingEeprom)};
    job.buffer.setAllStates(buffers::ByteState::Created);
    if (!confirmSizeWarning(ws, job))
        return EndCode::Cancelled;
    const EndCode code =
        chips::driverFor(device).program(chipSession(ws, device), sink, job, texts);
    if (code == EndCode::Done)
        job.buffer.redraw();
    return code;
}

}  // namespace zavuv::operations

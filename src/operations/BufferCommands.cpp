#include "operations/BufferCommands.h"

#include "text/UiText.h"

namespace zavuv::operations {

std::string bufferText(const buffers::MemoryBuffer& buffer) {
    const auto size = static_cast<int>(buffer.size());
    return text::formatUiText(buffer.isEeprom() ? text::Msg::EepromLength : text::Msg::FlashLength,
                              size, size, buffer.checksum16());
}

void reloadBuffer(workspace::Workspace& ws, buffers::MemoryBuffer& buffer) {
    workspace::OperationStatus& status = ws.results.lastOperationStatus;
    status = workspace::OperationStatus::Failed;
    // A reload that leaves the buffer empty (unreadable file, no file at all)
    // must not count as success: auto-program would then program nothing and
    // call it done.
    if (!buffer.reload() || buffer.size() == 0)
        return;
    ws.user().setStatus(bufferText(buffer));
    status = workspace::OperationStatus::Succeeded;
}

}  // namespace zavuv::operations

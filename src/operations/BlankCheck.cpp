#include "operations/BlankCheck.h"

#include <algorithm>

#include "chips/ChipDriver.h"
#include "operations/BoardAccess.h"
#include "text/UiText.h"

namespace zavuv::operations {

namespace {}  // namespace

base::EndCode blankCheckFlash(workspace::Workspace& ws, base::ProgressSink& sink) {
    const devices::DeviceInfo& device = ws.projectDeviceInfo();
    const chips::ProgressTexts texts{text::GetUiText(text::Msg::BlankCheckProgressTitle),
                                     text::GetUiText(text::Msg::CheckingFlash)};
    const auto flashSize = static_cast<std::size_t>(std::max(device.flashSize, 0));
    sink.setup(texts.title, texts.text, static_cast<int>(flashSize / link::kMaxBlockBytes),
               static_cast<int>(link::kMaxBlockBytes));
    return chips::driverFor(device).blankCheck(chipSession(ws, device), sink, texts);
}

}  // namespace zavuv::operations

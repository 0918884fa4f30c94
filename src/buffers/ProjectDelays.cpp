#include "buffers/ProjectDelays.h"

#include <algorithm>

#include "buffers/ProjectSettings.h"
#include "text/UiText.h"

namespace zavuv::buffers {

const std::array<ProjectDelay, 5> kProjectDelays = {{
    {"ResetStrobeLength", &ProjectSettings::resetStrobeLength, nullptr, kResetStrobeRange},
    {"DelayByteValue", &ProjectSettings::delayByteValue, &ProjectSettings::delayByte,
     kByteDelayRange},
    {"DelayPageValue", &ProjectSettings::delayPageValue, &ProjectSettings::delayPage,
     kFlashPageDelayRange},
    {"DelayByteValue2", &ProjectSettings::delayByteValue2, &ProjectSettings::delayByte2,
     kByteDelayRange},
    {"DelayPageValue2", &ProjectSettings::delayPageValue2, &ProjectSettings::delayPage2,
     kEepromPageDelayRange},
}};

void holdDelaysInRange(ProjectSettings& project, base::UserPort& port) {
    for (const ProjectDelay& delay : kProjectDelays) {
        // A delay whose override is off is not used: whatever it holds stays.
        if (delay.overrideOn && !(project.*delay.overrideOn))
            continue;
        int& value = project.*delay.value;
        const int held = std::clamp(value, delay.range.min, delay.range.max);
        if (held == value)
            continue;
        port.setStatus(
            text::formatUiText(text::Msg::ProjectDelayOutOfRange, delay.key, value, held));
        value = held;
    }
}

}  // namespace zavuv::buffers

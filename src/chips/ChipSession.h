#pragma once
// What a chip driver works with during one board session: the link, the
// link's words to the person, the chip, and the timing settings of the
// project and the board.

#include "buffers/ProjectSettings.h"
#include "devices/DeviceTable.h"
#include "link/BoardDelays.h"
#include "link/LinkMessages.h"
#include "link/ProgrammerLink.h"

namespace zavuv::chips {

struct ChipSession {
    link::ProgrammerLink& link;
    link::LinkMessages& messages;
    const devices::DeviceInfo& device;        // the project's device
    const buffers::ProjectSettings& project;  // its delay overrides
    const link::BoardDelays& boardDelays;
};

}  // namespace zavuv::chips

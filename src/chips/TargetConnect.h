#pragma once
// The connect of every chip operation: the board set up for the device chosen
// in the lists, then the project's device brought into programming mode by
// its driver.

#include "link/BoardConnection.h"

namespace zavuv::chips {

// The SCK code and polling flag that every CMD_SET_MODE of a session with the
// project's chip carries, its end included.
link::ModeSettings sessionMode(const link::TargetOptions& options);

// On success the target is in programming mode and the channel open; on
// failure the reason has been reported.
bool connectTarget(link::BoardConnection& connection, const link::TargetOptions& options, int port,
                   link::SpeedCode speed);

}  // namespace zavuv::chips

#pragma once
// The erase of an AT45 DataFlash, one 8-page block at a time: the worker body
// behind the progress display.

#include "base/Progress.h"
#include "devices/DeviceTable.h"
#include "link/ProgrammerLink.h"

namespace zavuv::operations {

// Erases every block of the device on an open session. kEndDone when all are
// erased, kEndCancelled when Cancel stopped it between blocks, kEndLinkFailure
// when a command was not acknowledged. The session stays open.
int eraseDataFlash(link::ProgrammerLink& link, const devices::DeviceInfo& device,
                   base::ProgressSink& progress);

}  // namespace zavuv::operations

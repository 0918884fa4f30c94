#pragma once
// Before work the person has not saved would be replaced or dropped (Exit,
// New, Open, a recent project, Close; Load, Read or a drop into a modified
// buffer), the window asks whether to save it: Yes saves, No lets it go,
// Cancel keeps everything as it is. The unattended auto-program run never
// comes here.

#include "buffers/MemoryBuffer.h"

namespace zavuv::app::shell {

class MainDialog;

// True when the command may go on: nothing was modified, the person saved it
// or let it go. False on Cancel, and when saving did not succeed.
bool offerToSaveWork(MainDialog& window);
bool offerToSaveBuffer(MainDialog& window, buffers::MemoryBuffer& buffer);

}  // namespace zavuv::app::shell

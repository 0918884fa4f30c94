#pragma once
// Program a memory and verify it against the same image, as the command line
// does unless told not to.

#include "workspace/Workspace.h"

namespace zavuv::operations {

// Program Flash or EEPROM, then verify. A serial number the project steps is
// taken once, before programming (reserved in its file when nobody watches),
// and the verify compares the chip with the number it got. True when both
// succeeded.
bool programAndVerify(workspace::Workspace& ws, bool flash);

}  // namespace zavuv::operations

#pragma once
// The commands that talk to the board and the chip: the operation buttons and
// their menu items, the signature, calibration and board information items,
// the lock and fuse bits, the board search (32788), the firmware update and
// the automatic sequence.

namespace zavuv::app::shell {

class MainDialog;

void addChipOperationCommands(MainDialog& window);

// The automatic sequence of the command line: autoprogramOk tells how it went.
void runAutoProgramUnattended(MainDialog& window);

}  // namespace zavuv::app::shell

#pragma once
// Lock and fuse bits between the chip and a LockFuseState, each way in a board
// session of its own. The instructions come from the project device's layout.

#include <string>

#include "devices/LockFuseLayout.h"
#include "workspace/Workspace.h"

namespace zavuv::operations {

// The lock/fuse layout of the project's device, or nullptr when it has none.
const devices::LockFuseLayout* projectLockFuseLayout(const workspace::Workspace& ws);

// Fills the state from the chip. A chip whose bits cannot be read (an AVR one
// after its signature was checked) gives an all-zero state with `readable`
// false, after "This device do not have a 'read lock/fuse bits' function.".
// False when the link failed or the person declined to go on with a chip of
// another signature (reported).
bool readLockFuse(workspace::Workspace& ws, devices::LockFuseState& state);

// Writes the state into the chip. `programFuses` lets the fuse bytes of an AVR
// chip be written; a chip that reports its fuse bytes then has them read back
// on the same session. True when every instruction sent was acknowledged and
// every fuse byte reads back as written ("Lock/fuse bits programmed" in a
// box); false otherwise (reported; a byte that reads otherwise is named).
bool programLockFuse(workspace::Workspace& ws, const devices::LockFuseState& state,
                     bool programFuses);

// "Low fuse byte", "High fuse byte", "Extended fuse byte" in the current language.
std::string fuseByteName(devices::FuseByte which);

}  // namespace zavuv::operations

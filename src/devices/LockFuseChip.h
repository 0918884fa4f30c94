#pragma once
// What the lock/fuse dialog asks of the chip. The main window hands in its
// operations on the board; tests hand in fakes. Each reports its own failures.

#include <functional>

#include "devices/LockFuseState.h"

namespace zavuv::devices {

struct LockFuseChip {
    // Fills the state from the chip; false when nothing usable was read.
    std::function<bool(LockFuseState&)> read;
    // Writes lock and fuse bits; false when any instruction failed.
    std::function<bool(const LockFuseState&)> program;
    // Erases the chip; true when it was erased (and is no longer locked).
    std::function<bool()> chipErase;
};

}  // namespace zavuv::devices

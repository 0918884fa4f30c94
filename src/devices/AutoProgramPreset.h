#pragma once
// The starting point of the lock and fuse bits that the auto-program sequence writes.

#include "devices/LockFuseLayout.h"

namespace zavuv::devices {

// Puts every fuse that carries a warning in its safe setting (fuses such as
// SPIEN programmed, the others unprogrammed) and takes `readable` from the
// layout; every other bit keeps its value.
void autoProgramPreset(const LockFuseLayout& layout, LockFuseState& state);

}  // namespace zavuv::devices

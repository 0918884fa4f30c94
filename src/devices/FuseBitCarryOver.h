#pragma once
// Project files store lock and fuse bits by their place in the layout of the
// project's chip. When a chip's layout changes, the bits stored by the old one
// are carried over by the chip bit each of them wrote, so that the bytes sent
// to the chip stay the same.

#include "devices/LockFuseState.h"

namespace zavuv::devices {

// The layout a project file's bits are stored by when the file does not say:
// the one the device had before its fuse map was corrected.
int layoutOfUnmarkedProjects(int deviceIndex);

struct CarriedFuseBits {
    LockFuseState state;
    // The bits were stored by another layout, whose names differ: the user
    // should review them.
    bool layoutChanged = false;
};

// The bits for the device's layout, from bits stored by `storedLayout` (-1:
// the file does not say). A bit whose chip bit the device's layout has no name
// for is dropped; a fuse the old layout named but never wrote keeps its name.
CarriedFuseBits carryFuseBitsOver(const LockFuseState& stored, int storedLayout, int deviceIndex);

}  // namespace zavuv::devices

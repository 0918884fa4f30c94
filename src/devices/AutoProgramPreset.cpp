#include "devices/AutoProgramPreset.h"

namespace zavuv::devices {

void autoProgramPreset(const LockFuseLayout& layout, LockFuseState& state) {
    for (int i = 0; i < layout.fuseCount; ++i)
        if (layout.fuseWarn[i] != 0)
            state.fuse[i] = layout.fuseWarn[i] > 0;
    state.readable = layout.lockReadable;
}

}  // namespace zavuv::devices

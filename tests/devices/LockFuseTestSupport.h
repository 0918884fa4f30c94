#pragma once
// Small helpers shared by the lock/fuse tests.

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>

#include "devices/DeviceTable.h"
#include "devices/LockFuseLayout.h"

namespace zavuv::devices::testing {

inline int deviceNamed(const char* name) {
    for (int i = 0; i < DeviceTable::count(); ++i)
        if (std::strcmp(DeviceTable::at(i).name, name) == 0)
            return i;
    ADD_FAILURE() << "no device " << name;
    return -1;
}

inline const LockFuseLayout& layoutOfDevice(const char* name) {
    const LockFuseLayout* layout = layoutOf(deviceNamed(name));
    if (layout == nullptr)
        throw std::runtime_error(std::string("no layout for ") + name);
    return *layout;
}

inline int fuseNamed(const LockFuseLayout& layout, const char* name) {
    for (int i = 0; i < layout.fuseCount; ++i)
        if (std::strcmp(layout.fuseName[i], name) == 0)
            return i;
    ADD_FAILURE() << "no fuse " << name;
    return 0;
}

// A state with exactly these fuses programmed.
inline LockFuseState withFuses(const LockFuseLayout& layout,
                               std::initializer_list<const char*> programmed) {
    LockFuseState state;
    for (const char* name : programmed)
        state.fuse[fuseNamed(layout, name)] = true;
    return state;
}

}  // namespace zavuv::devices::testing

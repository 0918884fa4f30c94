#include "devices/FuseBitCarryOver.h"

#include <cstring>

#include "devices/DeviceTable.h"
#include "devices/LockFuseLayout.h"

namespace zavuv::devices {

namespace {

struct LayoutBefore {
    int device;
    int layout;
};

// The devices whose fuse maps were corrected, with the layouts they had.
constexpr LayoutBefore kLayoutsBefore[] = {
    {1, 24},   // ATtiny2313
    {2, 34},   // ATtiny24
    {3, 36},   // ATtiny25
    {5, 34},   // ATtiny44
    {6, 36},   // ATtiny45
    {7, 34},   // ATtiny84
    {8, 36},   // ATtiny85
    {9, 38},   // AT90PWM1
    {10, 31},  // AT90PWM2/3
    {11, 25},  // ATmega48
    {17, 19},  // ATmega162
    {18, 21},  // ATmega165
    {20, 21},  // ATmega169
    {25, 10},  // ATmega640
    {46, 10},  // AT90USB1286
};

const LockFuseLayout* knownLayout(int index) {
    const LockFuseLayout* layout = lockFuseLayout(index);
    return layout ? layout : retiredLockFuseLayout(index);
}

// The fuse of `to` that takes the chip bit fuse i of `from` wrote; for a fuse
// `from` never wrote, the one of the same name. -1: none.
int carriedFuse(const LockFuseLayout& from, int i, const LockFuseLayout& to) {
    for (int k = 0; k < kFuseByteCount; ++k) {
        const BitPosition written = from.fuseBytes[k].writePos[i];
        if (!written.present())
            continue;
        for (int j = 0; j < to.fuseCount; ++j) {
            const BitPosition candidate = to.fuseBytes[k].writePos[j];
            if (candidate.byte == written.byte && candidate.bit == written.bit)
                return j;
        }
        return -1;
    }
    for (int j = 0; j < to.fuseCount; ++j)
        if (std::strcmp(to.fuseName[j], from.fuseName[i]) == 0)
            return j;
    return -1;
}

LockFuseState carried(const LockFuseState& stored, const LockFuseLayout& from,
                      const LockFuseLayout& to) {
    LockFuseState state;
    state.readable = stored.readable;
    state.lockMode = stored.lockMode;
    for (int i = 0; i < from.fuseCount; ++i) {
        const int j = stored.fuse[i] ? carriedFuse(from, i, to) : -1;
        if (j >= 0)
            state.fuse[j] = true;
    }
    for (int i = 0; i < from.bootLockCount; ++i) {
        for (int j = 0; j < to.bootLockCount; ++j)
            if (stored.bootLock[i] && to.bootLockPos[j] == from.bootLockPos[i])
                state.bootLock[j] = true;
    }
    return state;
}

}  // namespace

int layoutOfUnmarkedProjects(int deviceIndex) {
    for (const LayoutBefore& before : kLayoutsBefore)
        if (before.device == deviceIndex)
            return before.layout;
    return DeviceTable::isValidIndex(deviceIndex) ? DeviceTable::at(deviceIndex).lockFuseLayout
                                                  : -1;
}

CarriedFuseBits carryFuseBitsOver(const LockFuseState& stored, int storedLayout, int deviceIndex) {
    if (!DeviceTable::isValidIndex(deviceIndex))
        return {stored, false};
    const int now = DeviceTable::at(deviceIndex).lockFuseLayout;
    const int before = storedLayout >= 0 ? storedLayout : layoutOfUnmarkedProjects(deviceIndex);
    if (before == now)
        return {stored, false};
    const LockFuseLayout* from = knownLayout(before);
    const LockFuseLayout* to = lockFuseLayout(now);
    if (from == nullptr || to == nullptr)
        return {stored, true};  // nothing to carry them by: they stay where they are
    return {carried(stored, *from, *to), true};
}

}  // namespace zavuv::devices

#pragma once
// Builds an AVR lock/fuse layout from the names of the bits of each fuse byte.
// All AVR chips share one instruction set; only the names, which fuse bytes
// exist and a few instruction templates differ from chip to chip.

#include "devices/LockFuseLayout.h"

namespace zavuv::devices::avr {

struct FuseBitName {
    const char* name = nullptr;  // nullptr: a bit that carries no fuse
    std::int32_t warn = 0;

    constexpr FuseBitName() = default;
    constexpr FuseBitName(const char* fuseName, std::int32_t fuseWarn = 0)
        : name(fuseName), warn(fuseWarn) {}
};

// A fuse that must stay programmed, or the chip no longer answers serial programming.
constexpr FuseBitName keepProgrammed(const char* name) {
    return {name, +1};
}
inline constexpr FuseBitName kNoFuse{};

using FuseByteNames = std::array<FuseBitName, 8>;  // by bit, from bit 0

struct Templates {
    Instruction lock{0xAC, 0xFF, 0xFF, 0xFF};
    Instruction low{0xAC, 0xA0, 0xFF, 0xFF};
    Instruction high{0xAC, 0xA8, 0xFF, 0xFF};
    Instruction extended{0xAC, 0xA4, 0xFF, 0xFF};
};

struct LayoutRecipe {
    int index;
    FuseByteNames low;
    FuseByteNames high;
    FuseByteNames extended;  // all kNoFuse: the chip has no extended byte
    // false: the extended names are shown and stored but never written, and
    // nothing reads them back.
    bool extendedWritten = true;
    bool bootLocks = true;
    Templates templates{};
    ClockScheme clock = ClockScheme::None;
};

constexpr bool hasFuses(const FuseByteNames& names) {
    for (const FuseBitName& n : names)
        if (n.name != nullptr)
            return true;
    return false;
}

constexpr LockFuseLayout build(const LayoutRecipe& recipe) {
    LockFuseLayout layout;
    // LB1 and LB2 in bits 0 and 1 of instruction byte 3 and of the read answer.
    layout.lockWriteTemplate = recipe.templates.lock;
    layout.lockBitPos = {BitPosition{3, 0}, BitPosition{3, 1}, BitPosition{}};
    layout.lockReadable = true;
    layout.lockReadCmd = {0x58, 0x00, 0x00};
    layout.lockReadPos = {0, 1, -1};

    const bool extendedPresent = recipe.extendedWritten && hasFuses(recipe.extended);
    FuseByteLayout& low = layout.fuseBytes[0];
    FuseByteLayout& high = layout.fuseBytes[1];
    FuseByteLayout& extended = layout.fuseBytes[2];
    low.writeTemplate = recipe.templates.low;
    low.readCmd = {0x50, 0x00, 0x00};
    high.writeTemplate = recipe.templates.high;
    high.readCmd = {0x58, 0x08, 0x00};
    extended.writeTemplate = recipe.templates.extended;
    extended.readCmd = {0x50, 0x08, 0x00};

    const FuseByteNames* names[kFuseByteCount] = {&recipe.low, &recipe.high, &recipe.extended};
    const bool written[kFuseByteCount] = {true, true, extendedPresent};
    int count = 0;
    for (int k = 0; k < kFuseByteCount; ++k) {
        for (int bit = 0; bit < 8; ++bit) {
            const FuseBitName& n = (*names[k])[bit];
            if (n.name == nullptr)
                continue;
            const int i = count++;
            layout.fuseName[i] = n.name;
            layout.fuseWarn[i] = n.warn;
            if (written[k]) {
                layout.fuseBytes[k].writePos[i] = {3, static_cast<std::int8_t>(bit)};
                layout.fuseBytes[k].readPos[i] = static_cast<std::int8_t>(bit);
            }
            // The chip's reads run low, high, extended, and every fuse of a
            // later byte is first taken from bit 0 of the low answer. Where the
            // extended byte is read it also passes through bit 0 of the high
            // answer; where it is not, its names keep the low byte's bit 0.
            if (k > 0)
                low.readPos[i] = 0;
            if (k == 2 && extendedPresent)
                high.readPos[i] = 0;
        }
    }
    layout.fuseCount = count;
    low.present = count > 0;
    low.readable = true;
    high.present = high.readable = hasFuses(recipe.high);
    extended.present = extended.readable = extendedPresent;

    layout.clockScheme = recipe.clock;
    if (recipe.bootLocks) {
        layout.bootLockCount = kBootLockBits;
        layout.bootLockPos = {2, 3, 4, 5};
        layout.bootLockName = {"BLB01", "BLB02", "BLB11", "BLB12"};
    }
    return layout;
}

}  // namespace zavuv::devices::avr

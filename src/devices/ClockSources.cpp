#include "devices/ClockSources.h"

#include <array>
#include <cstring>

#include <fmt/format.h>

#include "devices/LockFuseLayout.h"

namespace zavuv::devices {

namespace {

using Coding = std::array<ClockSource, 16>;  // by CKSEL value

constexpr ClockSource I = ClockSource::Internal;
constexpr ClockSource E = ClockSource::ExternalClock;
constexpr ClockSource C = ClockSource::Crystal;
constexpr ClockSource L = ClockSource::LowFrequencyCrystal;
constexpr ClockSource R = ClockSource::ExternalRc;
constexpr ClockSource X = ClockSource::Reserved;

// clang-format off
constexpr Coding kClassic      {E, I, I, I, I, R, R, R, R, L, C, C, C, C, C, C};
constexpr Coding kMegaX8       {E, X, I, I, L, L, C, C, C, C, C, C, C, C, C, C};
constexpr Coding kLowFrequency4{E, X, I, X, L, L, L, L, C, C, C, C, C, C, C, C};
constexpr Coding kUsb          {E, X, I, X, L, L, X, X, C, C, C, C, C, C, C, C};
constexpr Coding kPowerStage   {E, E, I, I, X, X, X, X, C, C, C, C, C, C, C, C};
constexpr Coding kTiny2313     {E, X, I, I, I, I, I, I, C, C, C, C, C, C, C, C};
constexpr Coding kTinyX4X5     {E, I, I, I, I, X, L, X, C, C, C, C, C, C, C, C};
constexpr Coding kTiny13       {E, I, I, I};
// clang-format on

const Coding* codingOf(ClockScheme scheme) {
    switch (scheme) {
    case ClockScheme::Classic:
        return &kClassic;
    case ClockScheme::MegaX8:
        return &kMegaX8;
    case ClockScheme::LowFrequency4:
        return &kLowFrequency4;
    case ClockScheme::Usb:
        return &kUsb;
    case ClockScheme::PowerStage:
        return &kPowerStage;
    case ClockScheme::Tiny2313:
        return &kTiny2313;
    case ClockScheme::TinyX4X5:
        return &kTinyX4X5;
    case ClockScheme::Tiny13:
        return &kTiny13;
    case ClockScheme::None:
        break;
    }
    return nullptr;
}

constexpr int kMaxClockSelectBits = 4;

// The fuse index of CKSEL<n>, or -1.
int clockSelectFuse(const LockFuseLayout& layout, int n) {
    const std::string name = fmt::format("CKSEL{}", n);
    for (int i = 0; i < layout.fuseCount; ++i)
        if (name == layout.fuseName[i])
            return i;
    return -1;
}

}  // namespace

std::optional<ClockSetting> clockSetting(const LockFuseLayout& layout, const LockFuseState& state) {
    const Coding* coding = codingOf(layout.clockScheme);
    if (!coding)
        return std::nullopt;
    int value = 0;
    int bits = 0;
    std::string digits;
    for (; bits < kMaxClockSelectBits; ++bits) {
        const int fuse = clockSelectFuse(layout, bits);
        if (fuse < 0)
            break;
        // A programmed fuse reads 0.
        const int bit = state.fuse[fuse] ? 0 : 1;
        value |= bit << bits;
        digits.insert(digits.begin(), static_cast<char>('0' + bit));
    }
    if (bits == 0)
        return std::nullopt;
    return ClockSetting{(*coding)[value], fmt::format("CKSEL{}..0 = {}", bits - 1, digits)};
}

}  // namespace zavuv::devices

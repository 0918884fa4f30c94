#pragma once
// Where every lock, boot lock and fuse bit of a chip sits in the instructions
// that write it and in the bytes that read it back, with the bits' names. One
// constant layout per layout index; devices name theirs in the device table.

#include <array>
#include <cstdint>

#include "devices/ClockSources.h"
#include "devices/LockFuseState.h"

namespace zavuv::devices {

inline constexpr int kLayoutCount = 57;  // layout indices 0..56
inline constexpr int kLockBits = 3;      // LB1, LB2, LB3
inline constexpr int kBootLockBits = 4;  // a layout has 0 or 4
inline constexpr int kFuseByteCount = 3;

using Instruction = std::array<std::uint8_t, 4>;
using ReadCommand = std::array<std::uint8_t, 3>;  // the answer comes back in the fourth byte

// A bit inside a 4-byte instruction.
struct BitPosition {
    std::int8_t byte = -1;  // 0..3; -1: no such bit
    std::int8_t bit = -1;   // 0..7

    constexpr bool present() const { return byte >= 0; }
};

enum class FuseByte { Low = 0, High = 1, Extended = 2 };

template <typename T, std::size_t N> constexpr std::array<T, N> filledWith(T value) {
    std::array<T, N> a{};
    a.fill(value);
    return a;
}

struct FuseByteLayout {
    bool present = false;   // the byte is written (the low byte whenever fuseCount > 0)
    bool readable = false;  // the byte has a read instruction of its own
    Instruction writeTemplate{};
    // By fuse index; absent: the fuse is not in this byte. (Filled explicitly:
    // GCC 12 zeroes part of a value-initialised array of these when the table
    // is built at compile time.)
    std::array<BitPosition, kMaxFuses> writePos = filledWith<BitPosition, kMaxFuses>({});
    ReadCommand readCmd{};
    // By fuse index: the bit of this byte's read answer that the fuse is taken
    // from, or -1. A fuse of another byte may read from here too; the read of
    // its own byte, which comes later, corrects it.
    std::array<std::int8_t, kMaxFuses> readPos = filledWith<std::int8_t, kMaxFuses>(-1);
};

struct LockFuseLayout {
    Instruction lockWriteTemplate{};
    // The AVR encoding takes entry 0 for LB1 and entry 1 for LB2; the AT89S
    // level encodings take entry 2 from lock mode 1, entry 1 from mode 2 and
    // entry 0 from mode 3.
    std::array<BitPosition, kLockBits> lockBitPos = filledWith<BitPosition, kLockBits>({});
    bool lockReadable = false;
    ReadCommand lockReadCmd{};
    // Bits of the lock read answer: LB1, LB2, LB3 (-1: absent).
    std::array<std::int8_t, kLockBits> lockReadPos = filledWith<std::int8_t, kLockBits>(-1);

    std::int32_t fuseCount = 0;
    std::array<FuseByteLayout, kFuseByteCount> fuseBytes{};  // low, high, extended
    std::array<const char*, kMaxFuses> fuseName = filledWith<const char*, kMaxFuses>("");
    // +1: warn when left unprogrammed; -1: warn when programmed; 0: never warn.
    std::array<std::int32_t, kMaxFuses> fuseWarn{};

    std::int32_t bootLockCount = 0;
    // The same bit in the lock read answer and in byte 3 of the lock write instruction.
    std::array<std::int8_t, kBootLockBits> bootLockPos = filledWith<std::int8_t, kBootLockBits>(-1);
    std::array<const char*, kBootLockBits> bootLockName =
        filledWith<const char*, kBootLockBits>("");

    // How the chip reads its CKSEL fuses.
    ClockScheme clockScheme = ClockScheme::None;

    constexpr const FuseByteLayout& fuseByte(FuseByte which) const {
        return fuseBytes[static_cast<int>(which)];
    }
};

// The layout with this index, or nullptr for an index outside 0..56 and for the
// indices that no device uses (2..9, 11, 15 and the retired ones).
const LockFuseLayout* lockFuseLayout(int layoutIndex);

// A layout that chips used before their fuse maps were corrected (19, 21, 24,
// 25, 31, 34, 36, 38), or nullptr. Only for carrying fuse bits that old
// project files store by it over to the chip's layout.
const LockFuseLayout* retiredLockFuseLayout(int layoutIndex);

// The layout of a device of the device table, or nullptr when the device has
// no lock or fuse bits or the index names no device.
const LockFuseLayout* layoutOf(int deviceIndex);

}  // namespace zavuv::devices

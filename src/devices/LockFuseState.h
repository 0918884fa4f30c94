#pragma once
// The lock and fuse bits of one chip as the user edits them and the project
// stores them. A programmed bit (one that reads 0 on the chip) is true.

#include <array>
#include <cstdint>

namespace zavuv::devices {

inline constexpr int kMaxFuses = 32;
inline constexpr int kMaxBootLocks = 16;

struct LockFuseState {
    bool readable = false;      // the chip can report these bits back
    std::int32_t lockMode = 0;  // 0 none, 1 LB1, 2 LB1+LB2, 3 LB1+LB2+LB3
    // Entries at or beyond the layout's counts stay false.
    std::array<bool, kMaxFuses> fuse{};
    std::array<bool, kMaxBootLocks> bootLock{};

    friend bool operator==(const LockFuseState&, const LockFuseState&) = default;
};

}  // namespace zavuv::devices

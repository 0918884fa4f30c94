#pragma once
// The names of the four lock modes, as the lock/fuse dialog and the verify
// report show them.

#include <cstdint>

namespace zavuv::devices {

inline constexpr int kLockModeCount = 4;

// AVR chips and AT89S chips name the modes differently; only the AT89S chips
// have the fourth (LB3).
enum class LockModeTexts { Avr, At89S };

// The text in the current language. An empty text for a mode outside 0..3.
const char* lockModeName(LockModeTexts texts, std::int32_t mode);

}  // namespace zavuv::devices

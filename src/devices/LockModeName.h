#pragma once
// The names of the four lock modes, as the lock/fuse dialog and the verify
// report show them.

#include <cstdint>

#include "devices/DeviceTable.h"

namespace zavuv::devices {

inline constexpr int kLockModeCount = 4;

// The text in the current language; AVR chips and AT89S chips name the modes
// differently. An empty text for a mode outside 0..3.
const char* lockModeName(ProgAlgorithm algorithm, std::int32_t mode);

}  // namespace zavuv::devices

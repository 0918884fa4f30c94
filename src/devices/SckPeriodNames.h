#pragma once
// The SCK periods a project can choose, as the SCK lists show them. The list
// position is the project's `spiPeriod`.

#include <array>

namespace zavuv::devices {

inline constexpr int kSckPeriodCount = 8;

inline constexpr std::array<const char*, kSckPeriodCount> kSckPeriodNames = {
    "0.25 uS (4 MHz)", "0.5 uS (2 MHz)", "1 uS (1 MHz)",   "2 uS (500 kHz)",
    "4 uS (250 kHz)",  "8 uS (125 kHz)", "16 uS (60 kHz)", "150 uS (7 kHz)",
};

}  // namespace zavuv::devices

#pragma once
// How long the rest of a piece of long work will take, and how fast it goes,
// from the time it has run so far. The progress window and the terminal bar
// both show these figures; neither shows them before the work has run long
// enough for the rate to mean something.

#include <cstdint>
#include <optional>
#include <string>

namespace zavuv::workspace {

// The work must have run this long before an estimate is given.
inline constexpr std::int64_t kEstimateAfterMs = 2000;

struct ProgressEstimate {
    std::int64_t secondsLeft = 0;
    std::int64_t bytesPerSecond = 0;
};

// `done` of `total` units of `unitBytes` bytes each, after `elapsedMs`;
// nothing before kEstimateAfterMs, before the first unit or past the end.
std::optional<ProgressEstimate> estimateProgress(std::int64_t elapsedMs, std::int64_t done,
                                                 std::int64_t total, int unitBytes);

// "Time left: 1:05" (hours as "1:02:03"), in the current language.
std::string timeLeftText(const ProgressEstimate& estimate);
// "1234 bytes/s", in the current language.
std::string transferRateText(const ProgressEstimate& estimate);

}  // namespace zavuv::workspace

#include "workspace/RemainingTime.h"

#include <fmt/format.h>

#include "text/UiText.h"

namespace zavuv::workspace {

std::optional<ProgressEstimate> estimateProgress(std::int64_t elapsedMs, std::int64_t done,
                                                 std::int64_t total, int unitBytes) {
    if (elapsedMs < kEstimateAfterMs || done <= 0 || done >= total || unitBytes <= 0)
        return std::nullopt;
    ProgressEstimate estimate;
    // Rounded up: "0:00 left" while work remains would read as finished.
    estimate.secondsLeft = ((total - done) * elapsedMs + done * 1000 - 1) / (done * 1000);
    estimate.bytesPerSecond = done * unitBytes * 1000 / elapsedMs;
    return estimate;
}

std::string timeLeftText(const ProgressEstimate& estimate) {
    const std::int64_t s = estimate.secondsLeft;
    const std::string clock = s >= 3600
                                  ? fmt::format("{}:{:02}:{:02}", s / 3600, s / 60 % 60, s % 60)
                                  : fmt::format("{}:{:02}", s / 60, s % 60);
    return text::formatUiText(text::Msg::TimeLeft, clock);
}

std::string transferRateText(const ProgressEstimate& estimate) {
    return text::formatUiText(text::Msg::TransferRate, estimate.bytesPerSecond);
}

}  // namespace zavuv::workspace

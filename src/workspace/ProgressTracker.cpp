#include "workspace/ProgressTracker.h"

#include "text/UiText.h"
#include "workspace/RemainingTime.h"

namespace zavuv::workspace {

namespace {

// Each display call waits for the window: the figures change once a second.
constexpr std::int64_t kEstimateEveryMs = 1000;

}  // namespace

void ProgressTracker::setup(const std::string& title, const std::string& text, int total,
                            int unitBytes) {
    total_ = total;
    unitBytes_ = unitBytes;
    lastPercent_ = 0;
    startMs_ = clock_.nowMs();
    lastEstimateMs_ = startMs_;
    display_.showSetup(title, text);
}

void ProgressTracker::reportProgress(int done) {
    if (total_ == 0)
        return;
    showEstimate(done);
    const int percent = static_cast<int>(static_cast<long long>(done) * 100 / total_);
    if (percent == lastPercent_)
        return;
    lastPercent_ = percent;
    display_.showPercent(percent, text::formatUiText(text::Msg::PercentCompleted, percent));
}

void ProgressTracker::showEstimate(int done) {
    const std::int64_t now = clock_.nowMs();
    if (now - lastEstimateMs_ < kEstimateEveryMs)
        return;
    const auto estimate = estimateProgress(now - startMs_, done, total_, unitBytes_);
    if (!estimate)
        return;
    lastEstimateMs_ = now;
    display_.showEstimate(timeLeftText(*estimate), transferRateText(*estimate));
}

}  // namespace zavuv::workspace

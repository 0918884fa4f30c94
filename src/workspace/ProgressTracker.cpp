#include "workspace/ProgressTracker.h"

#include "text/UiText.h"

namespace zavuv::workspace {

void ProgressTracker::setup(const std::string& title, const std::string& text, int total) {
    total_ = total;
    lastPercent_ = 0;
    display_.showSetup(title, text);
}

void ProgressTracker::reportProgress(int done) {
    if (total_ == 0)
        return;
    const int percent = static_cast<int>(static_cast<long long>(done) * 100 / total_);
    if (percent == lastPercent_)
        return;
    lastPercent_ = percent;
    display_.showPercent(percent, text::formatUiText(text::Msg::PercentCompleted, percent));
}

}  // namespace zavuv::workspace

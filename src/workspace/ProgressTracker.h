#pragma once
// The progress rules every runner shares: the display hears of a percentage
// only when it changes, with the percentage line of the current language.

#include <atomic>
#include <string>

#include "base/Progress.h"

namespace zavuv::workspace {

class ProgressTracker final : public base::ProgressSink {
public:
    ProgressTracker(base::ProgressDisplay& display, const std::atomic<bool>& cancel)
        : display_(display), cancel_(cancel) {}

    void setup(const std::string& title, const std::string& text, int total) override;
    void reportProgress(int done) override;
    bool cancelRequested() const override { return cancel_.load(); }

    int total() const { return total_; }

private:
    base::ProgressDisplay& display_;
    const std::atomic<bool>& cancel_;
    int total_ = 0;
    int lastPercent_ = 0;
};

}  // namespace zavuv::workspace

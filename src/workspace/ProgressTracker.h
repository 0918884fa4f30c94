#pragma once
// The progress rules every runner shares: the display hears of a percentage
// only when it changes, with the percentage line of the current language, and
// of the time left and the rate once the work has run two seconds, at most once
// a second.

#include <atomic>
#include <cstdint>
#include <string>

#include "base/Clock.h"
#include "base/Progress.h"

namespace zavuv::workspace {

class ProgressTracker final : public base::ProgressSink {
public:
    ProgressTracker(base::ProgressDisplay& display, const std::atomic<bool>& cancel,
                    const base::Clock& clock)
        : display_(display), cancel_(cancel), clock_(clock) {}

    void setup(const std::string& title, const std::string& text, int total,
               int unitBytes = 1) override;
    void reportProgress(int done) override;
    bool cancelRequested() const override { return cancel_.load(); }

    int total() const { return total_; }

private:
    void showEstimate(int done);

    base::ProgressDisplay& display_;
    const std::atomic<bool>& cancel_;
    const base::Clock& clock_;
    int total_ = 0;
    int unitBytes_ = 1;
    int lastPercent_ = 0;
    std::int64_t startMs_ = 0;
    std::int64_t lastEstimateMs_ = 0;
};

}  // namespace zavuv::workspace

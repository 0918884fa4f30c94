#pragma once
// Runs a worker body on the calling thread. The command line uses it with its
// terminal display and Ctrl-C as Cancel; tests use it with a recording display.

#include <atomic>

#include "base/Progress.h"
#include "base/SystemClock.h"

namespace zavuv::workspace {

class InlineProgressRunner final : public base::ProgressRunner {
public:
    explicit InlineProgressRunner(base::ProgressDisplay& display) : display_(display) {}
    // The time left is measured on `clock` (tests: a virtual one).
    InlineProgressRunner(base::ProgressDisplay& display, const base::Clock& clock)
        : display_(display), clock_(&clock) {}

    bool cancelRequested() const override { return cancel_.load(); }

    // Safe from a signal handler or another thread.
    void requestCancel() { cancel_.store(true); }
    // Cancels the body that runs and every body after it, so that a sequence
    // of operations ends at its next step. Safe from a signal handler.
    void stop() override {
        stopped_.store(true);
        cancel_.store(true);
    }
    bool stopRequested() const override { return stopped_.load(); }

protected:
    // Cancel stays possible even when withheld: a body that cannot stop never asks.
    base::EndCode runBody(const base::WorkerBody& body, base::CancelOffer cancel) override;

private:
    base::ProgressDisplay& display_;
    base::SystemClock systemClock_;
    const base::Clock* clock_ = &systemClock_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> stopped_{false};
};

}  // namespace zavuv::workspace

#pragma once
// Runs a worker body on the calling thread. The command line uses it with its
// terminal display and Ctrl-C as Cancel; tests use it with a recording display.

#include <atomic>

#include "text/Progress.h"

namespace zavuv {

class InlineProgressRunner final : public ProgressRunner {
public:
    explicit InlineProgressRunner(ProgressDisplay& display) : display_(display) {}

    bool cancelRequested() const override { return cancel_.load(); }

    // Safe from a signal handler or another thread.
    void requestCancel() { cancel_.store(true); }

protected:
    // Cancel stays possible even when withheld: a body that cannot stop never asks.
    int runBody(const WorkerBody& body, CancelOffer cancel) override;

private:
    ProgressDisplay& display_;
    std::atomic<bool> cancel_{false};
};

}  // namespace zavuv

#pragma once
// Time that only moves when someone waits: a sleep advances it at once, and the
// simulated port advances it while a read waits for the board. A whole chip's
// worth of protocol pauses then costs no real time, and each pause is kept so
// that tests can assert it.

#include <cstdint>
#include <mutex>
#include <vector>

#include "base/Clock.h"

namespace zavuv::base {

class VirtualClock : public Clock {
public:
    void sleepMs(int ms) override;
    std::int64_t nowUs() const override;

    // Moves time forward (never back) without recording a pause.
    void advanceUs(std::int64_t us);
    void advanceToUs(std::int64_t us);

    // Every sleepMs argument so far, in order.
    std::vector<int> pauses() const;
    void clearPauses();

private:
    mutable std::mutex mutex_;
    std::int64_t nowUs_ = 0;
    std::vector<int> pauses_;
};

}  // namespace zavuv::base

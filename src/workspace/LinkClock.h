#pragma once
// The clock of the board link: real time for a real port, virtual time while
// the port in use is the simulated board, so that a simulated session spends
// its protocol pauses without waiting for them.

#include <functional>

#include "base/Clock.h"
#include "base/SystemClock.h"
#include "base/VirtualClock.h"

namespace zavuv::workspace {

class LinkClock final : public base::Clock {
public:
    // Asked at every sleep and reading: true while the board in use is the
    // simulated one.
    void setVirtualWhen(std::function<bool()> predicate) { virtualWhen_ = std::move(predicate); }
    bool virtualTime() const { return virtualWhen_ && virtualWhen_(); }
    base::VirtualClock& virtualClock() { return virtualClock_; }

    void sleepMs(int ms) override;
    void sleepMsUnless(int ms, const std::function<bool()>& stop) override;
    std::int64_t nowUs() const override;

private:
    base::SystemClock systemClock_;
    base::VirtualClock virtualClock_;
    std::function<bool()> virtualWhen_;
};

}  // namespace zavuv::workspace

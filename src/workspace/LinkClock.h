#pragma once
// The clock of the board link: real time for a real port, virtual time while
// the port in use is the simulated board, so that a simulated session spends
// its protocol pauses without waiting for them.

#include "link/Clock.h"
#include "link/SystemClock.h"
#include "sim/VirtualClock.h"

namespace zavuv::workspace {

class LinkClock final : public link::Clock {
public:
    void useVirtualTime(bool on) { virtual_ = on; }
    bool virtualTime() const { return virtual_; }
    sim::VirtualClock& virtualClock() { return virtualClock_; }

    void sleepMs(int ms) override;
    std::int64_t nowUs() const override;

private:
    link::SystemClock systemClock_;
    sim::VirtualClock virtualClock_;
    bool virtual_ = false;
};

}  // namespace zavuv::workspace

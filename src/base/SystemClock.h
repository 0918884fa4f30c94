#pragma once
// The clock of the real world: a steady clock and real sleeps.

#include "base/Clock.h"

namespace zavuv::base {

class SystemClock : public Clock {
public:
    void sleepMs(int ms) override;
    void sleepMsUnless(int ms, const std::function<bool()>& stop) override;
    std::int64_t nowUs() const override;
};

}  // namespace zavuv::base

#pragma once
// The clock of the real world: a steady clock and real sleeps.

#include "link/Clock.h"

namespace zavuv::link {

class SystemClock : public Clock {
public:
    void sleepMs(int ms) override;
    std::int64_t nowUs() const override;
};

}  // namespace zavuv::link

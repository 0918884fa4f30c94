#pragma once
// Every protocol pause goes through a Clock, so that tests run a whole chip's
// worth of pauses in virtual time and can assert each pause.

#include <cstdint>

namespace zavuv::base {

class Clock {
public:
    virtual ~Clock() = default;
    virtual void sleepMs(int ms) = 0;
    // Microseconds since an arbitrary start.
    virtual std::int64_t nowUs() const = 0;
    std::int64_t nowMs() const { return nowUs() / 1000; }
};

}  // namespace zavuv::base

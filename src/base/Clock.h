#pragma once
// Every protocol pause goes through a Clock, so that tests run a whole chip's
// worth of pauses in virtual time and can assert each pause.

#include <cstdint>
#include <functional>

namespace zavuv::base {

class Clock {
public:
    virtual ~Clock() = default;
    virtual void sleepMs(int ms) = 0;
    // A wait that may end early: the reset strobe and the project's own delays
    // give way when the run is being stopped (a signal, the window closing).
    // Virtual time has no reason to cut a pause short once it has begun.
    virtual void sleepMsUnless(int ms, const std::function<bool()>& stop) {
        if (!stop())
            sleepMs(ms);
    }
    // Microseconds since an arbitrary start.
    virtual std::int64_t nowUs() const = 0;
    std::int64_t nowMs() const { return nowUs() / 1000; }
};

}  // namespace zavuv::base

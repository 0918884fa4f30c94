#pragma once
// Real time for the board on a pseudo-terminal.

#include <chrono>
#include <thread>

#include "link/Clock.h"

namespace zavuv::sim::boardsim {

class SteadyClock : public link::Clock {
public:
    void sleepMs(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    std::int64_t nowUs() const override {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now() - start_)
            .count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace zavuv::sim::boardsim

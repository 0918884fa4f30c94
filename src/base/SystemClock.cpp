#include "base/SystemClock.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace zavuv::base {

void SystemClock::sleepMs(int ms) {
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SystemClock::sleepMsUnless(int ms, const std::function<bool()>& stop) {
    // Short slices: a stop is seen within one, and a long strobe still costs
    // nothing but the wake-ups.
    constexpr int kSliceMs = 20;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (auto now = std::chrono::steady_clock::now(); now < end && !stop();
         now = std::chrono::steady_clock::now())
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            end - now, std::chrono::milliseconds(kSliceMs)));
}

std::int64_t SystemClock::nowUs() const {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace zavuv::base

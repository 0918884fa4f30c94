#include "base/VirtualClock.h"

#include <algorithm>

namespace zavuv::base {

void VirtualClock::sleepMs(int ms) {
    std::lock_guard lock(mutex_);
    pauses_.push_back(ms);
    nowUs_ += std::max(ms, 0) * std::int64_t{1000};
}

std::int64_t VirtualClock::nowUs() const {
    std::lock_guard lock(mutex_);
    return nowUs_;
}

void VirtualClock::advanceUs(std::int64_t us) {
    std::lock_guard lock(mutex_);
    nowUs_ += std::max<std::int64_t>(us, 0);
}

void VirtualClock::advanceToUs(std::int64_t us) {
    std::lock_guard lock(mutex_);
    nowUs_ = std::max(nowUs_, us);
}

std::vector<int> VirtualClock::pauses() const {
    std::lock_guard lock(mutex_);
    return pauses_;
}

void VirtualClock::clearPauses() {
    std::lock_guard lock(mutex_);
    pauses_.clear();
}

}  // namespace zavuv::base

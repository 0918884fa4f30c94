#include "workspace/LinkClock.h"

namespace zavuv::workspace {

void LinkClock::sleepMs(int ms) {
    if (virtualTime())
        virtualClock_.sleepMs(ms);
    else
        systemClock_.sleepMs(ms);
}

void LinkClock::sleepMsUnless(int ms, const std::function<bool()>& stop) {
    if (virtualTime())
        virtualClock_.sleepMsUnless(ms, stop);
    else
        systemClock_.sleepMsUnless(ms, stop);
}

std::int64_t LinkClock::nowUs() const {
    return virtualTime() ? virtualClock_.nowUs() : systemClock_.nowUs();
}

}  // namespace zavuv::workspace

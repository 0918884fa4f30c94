#include "workspace/LinkClock.h"

namespace zavuv::workspace {

void LinkClock::sleepMs(int ms) {
    if (virtual_)
        virtualClock_.sleepMs(ms);
    else
        systemClock_.sleepMs(ms);
}

std::int64_t LinkClock::nowUs() const {
    return virtual_ ? virtualClock_.nowUs() : systemClock_.nowUs();
}

}  // namespace zavuv::workspace

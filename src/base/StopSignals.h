#pragma once
// SIGINT, SIGTERM and SIGHUP (Ctrl-C, `timeout`, a closed terminal, a killed
// job) stop the work instead of ending the program, so that every board
// session still ends cleanly: the chip released, the board back at 19200 baud,
// the port closed. The first signal stops the runners; the ones after it are
// ignored while the session ends, which the protocol's time-outs bound.

#include <vector>

#include "base/Progress.h"

namespace zavuv::base {

class StopOnSignals {
public:
    // The runners must outlive this object.
    explicit StopOnSignals(const std::vector<ProgressRunner*>& runners);
    explicit StopOnSignals(ProgressRunner& runner)
        : StopOnSignals(std::vector<ProgressRunner*>{&runner}) {}
    // The signals do as they did before.
    ~StopOnSignals();
    StopOnSignals(const StopOnSignals&) = delete;
    StopOnSignals& operator=(const StopOnSignals&) = delete;
};

}  // namespace zavuv::base

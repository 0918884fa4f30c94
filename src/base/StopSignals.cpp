#include "base/StopSignals.h"

#include <atomic>
#include <csignal>
#include <cstddef>

namespace zavuv::base {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM,
#ifndef _WIN32
                            SIGHUP
#endif
};
// Filled before the handler is installed and emptied after it is removed; the
// handler only reads them.
constexpr std::size_t kMaxRunners = 64;
ProgressRunner* gRunners[kMaxRunners] = {};
std::atomic<bool> gSignalled{false};

extern "C" void onStopSignal(int signal) {
#ifdef _WIN32
    // The Windows runtime resets the handler before calling it.
    std::signal(signal, onStopSignal);
#else
    (void)signal;
#endif
    if (gSignalled.exchange(true))
        return;
    for (ProgressRunner* runner : gRunners)
        if (runner)
            runner->stop();
}

#ifdef _WIN32
using Previous = void (*)(int);
Previous install(int signal) {
    return std::signal(signal, onStopSignal);
}
void restore(int signal, Previous previous) {
    std::signal(signal, previous);
}
#else
using Previous = struct sigaction;
Previous install(int signal) {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read waiting for the operator (Enter between units)
    // returns, so that a stop is seen there too.
    action.sa_flags = 0;
    Previous previous{};
    sigaction(signal, &action, &previous);
    return previous;
}
void restore(int signal, const Previous& previous) {
    sigaction(signal, &previous, nullptr);
}
#endif

Previous gPrevious[std::size(kSignals)];

}  // namespace

StopOnSignals::StopOnSignals(const std::vector<ProgressRunner*>& runners) {
    gSignalled.store(false);
    for (std::size_t i = 0; i < runners.size() && i < kMaxRunners; ++i)
        gRunners[i] = runners[i];
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        gPrevious[i] = install(kSignals[i]);
}

StopOnSignals::~StopOnSignals() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        restore(kSignals[i], gPrevious[i]);
    for (auto& runner : gRunners)
        runner = nullptr;
}

}  // namespace zavuv::base

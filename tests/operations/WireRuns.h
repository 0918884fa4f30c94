#pragma once
// The simulated board's wire trace without its times, for asserting bytes.

#include <algorithm>
#include <string>
#include <vector>

#include "support/SimulatedWorkspace.h"

namespace zavuv::testing {

// "> 35 30 00 00", "< 1E", ... in order.
inline std::vector<std::string> wireRuns(SimulatedWorkspace& sim) {
    sim.board().trace().flush();
    std::vector<std::string> runs;
    for (const std::string& line : sim.trace())
        runs.push_back(line.substr(line.find(' ') + 1));
    return runs;
}

// Only what the host sent.
inline std::vector<std::string> sentRuns(SimulatedWorkspace& sim) {
    std::vector<std::string> sent;
    for (const std::string& run : wireRuns(sim))
        if (run.starts_with(">"))
            sent.push_back(run);
    return sent;
}

inline bool containsRuns(const std::vector<std::string>& runs,
                         const std::vector<std::string>& expected) {
    return std::search(runs.begin(), runs.end(), expected.begin(), expected.end()) != runs.end();
}

inline bool containsPauses(const std::vector<int>& pauses, const std::vector<int>& expected) {
    return std::search(pauses.begin(), pauses.end(), expected.begin(), expected.end()) !=
           pauses.end();
}

inline long countOf(const std::vector<std::string>& runs, const std::string& run) {
    return std::count(runs.begin(), runs.end(), run);
}

// Forgets what the trace and the clock recorded so far.
inline void forgetWire(SimulatedWorkspace& sim) {
    sim.board().trace().flush();
    sim.board().trace().clearLines();
    sim.ws().clock().virtualClock().clearPauses();
}

}  // namespace zavuv::testing

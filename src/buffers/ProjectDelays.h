#pragma once
// The project's own delays and the ranges they are held to: the ones the
// Project Settings dialog allows, so that a hand-edited project cannot make a
// run wait for days (a page write's wait always runs out, and a reset strobe
// of 2000000000 ms would hold the board for 23 days).

#include <array>

#include "base/UserPort.h"

namespace zavuv::buffers {

class ProjectSettings;

struct DelayRange {
    int min;
    int max;
};

inline constexpr DelayRange kResetStrobeRange{20, 1000};
inline constexpr DelayRange kByteDelayRange{0, 36};
inline constexpr DelayRange kFlashPageDelayRange{3, 50};
inline constexpr DelayRange kEepromPageDelayRange{0, 1000};

struct ProjectDelay {
    const char* key;  // the project file's key, for the note
    int ProjectSettings::*value;
    bool ProjectSettings::*overrideOn;  // nullptr: always in use
    DelayRange range;
};

extern const std::array<ProjectDelay, 5> kProjectDelays;

// Brings every delay in use into its range, with a status-line note for each
// one that was outside it.
void holdDelaysInRange(ProjectSettings& project, base::UserPort& port);

}  // namespace zavuv::buffers

#pragma once
// The board delays that the user can tune in Advanced Board Settings.

namespace zavuv::link {

// The range that the settings dialog accepts.
inline constexpr int kMaxBoardDelayMs = 1000;

// Not to be confused with a device record's page write delay.
struct BoardDelays {
    int preReadDelayMs = 0;
    int pageReadDelayMs = 0;   // waited after each block read
    int pageWriteDelayMs = 0;  // waited after each page write
    int postSendDelayMs = 0;

    bool operator==(const BoardDelays&) const = default;
};

}  // namespace zavuv::link

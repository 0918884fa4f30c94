#pragma once
// The user's preferences, typed, over the application profile. Every setter
// saves at once and returns false when the profile could not be written.

#include <optional>
#include <string>
#include <string_view>

#include "link/BoardDelays.h"
#include "text/UiText.h"
#include "workspace/ProfileStore.h"

namespace zavuv::workspace {

inline constexpr int kComPortCount = 12;

// 0 = 19200, 1 = 115200, 2 = 921600 baud; any other index is the board's
// power-on rate, 19200.
int baudRate(int baudIndex);

// The device that COM number `port` (1..12) stands for when the profile names
// none: COMn on Windows; elsewhere the USB serial adapters, COM1..COM8 being
// /dev/ttyUSB0..7 and COM9..COM12 /dev/ttyACM0..3.
std::string defaultPortDevice(int port);

class Preferences {
public:
    explicit Preferences(ProfileStore& profile) : profile_(profile) {}

    ProfileStore& profile() { return profile_; }

    // 1..12, or 0 for no board chosen (also when the profile holds a number
    // outside 1..12, so that the user is asked again).
    int comPort() const;
    bool setComPort(int port);

    // 0..2; an index outside that reads as 0.
    int baudIndex() const;
    bool setBaudIndex(int baudIndex);

    // Each delay within 0..kMaxBoardDelayMs; a stored value outside is held
    // to the range, so no operation waits a negative or endless time.
    link::BoardDelays boardDelays() const;
    bool setBoardDelays(const link::BoardDelays& delays);

    text::Language language() const;
    bool setLanguage(text::Language language);

    // Whether start-up reopens the most recent project.
    bool loadMostRecent() const;
    bool setLoadMostRecent(bool enabled);

    // The device path of COM number `port`: the profile's "Ports" entry when
    // it names one, else defaultPortDevice. Nothing for a port outside 1..12.
    std::optional<std::string> portDevice(int port) const;
    bool setPortDevice(int port, std::string_view device);

private:
    ProfileStore& profile_;
};

}  // namespace zavuv::workspace

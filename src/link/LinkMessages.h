#pragma once
// The link's words to the person: status-line texts and information boxes
// captioned "Programmer ZAVUV", all from the message table.

#include <string>

#include "base/UserPort.h"

namespace zavuv::link {

class LinkMessages {
public:
    explicit LinkMessages(base::UserPort& user) : user_(user) {}

    base::UserPort& user() { return user_; }

    void status(const std::string& text);
    void status(int key);
    void box(const std::string& text);
    void box(int key);
    // "Connection error" in a box and on the status line.
    void connectionError();
    // The port could not be opened.
    void cannotOpenPort();

private:
    base::UserPort& user_;
};

// Message keys the link uses in more than one place.
namespace msg {
inline constexpr int kCaption = 1025;
inline constexpr int kIncorrectDisconnection = 1026;
inline constexpr int kConnectionError = 1027;
inline constexpr int kSelectPort = 1031;
inline constexpr int kNoBoardSpecified = 1032;
inline constexpr int kNoFirmware = 1197;
}  // namespace msg

}  // namespace zavuv::link

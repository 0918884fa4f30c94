#pragma once
// The link's words to the person: status-line texts and information boxes
// captioned "Programmer ZAVUV", all from the message table.

#include <optional>
#include <string>

#include "base/UserPort.h"
#include "link/PortAccess.h"
#include "text/MessageKeys.h"

namespace zavuv::link {

class LinkMessages {
public:
    explicit LinkMessages(base::UserPort& user) : user_(user) {}

    base::UserPort& user() { return user_; }

    void status(const std::string& text);
    void status(text::Msg key);
    void box(const std::string& text);
    void box(text::Msg key);
    // "Connection error" in a box and on the status line.
    void connectionError();
    // The port could not be opened; `denied` says when for lack of permission,
    // and the box then says how to get it instead of blaming other programs.
    void cannotOpenPort(const std::optional<PortPermissionDenied>& denied = std::nullopt);

private:
    base::UserPort& user_;
};

}  // namespace zavuv::link

// The search for the board over the first eight COM ports.

#include "link/BoardConnection.h"

#include "text/UiText.h"

namespace zavuv::link {

namespace {

constexpr int kLastSearchedPort = 8;
constexpr int kReplyPauseMs = 20;

}  // namespace

void BoardConnection::searchBoard() {
    messages_.status(text::Msg::SearchingForProgrammer);
    base::BusyScope busy(messages_.user());
    state_.selectedPort = 0;
    std::string found;
    for (int port = 1; port <= kLastSearchedPort; ++port) {
        messages_.status(text::formatUiText(text::Msg::SearchingOnPort, port));
        if (!openAndCheckVersion(port, {.quiet = true}))
            continue;

        std::string identity = text::GetUiText(text::Msg::VersionUnknown);
        if (link_.send(BoardCommand::CMD_GET_ID)) {
            link_.pause(kReplyPauseMs);
            // A length of 0 is the board's way of saying it has no text to give.
            const int length = link_.receiveByte();
            if (length > 0) {
                const auto reply = link_.receive(static_cast<std::size_t>(length) + 1);
                if (reply && (*reply)[length] == kAck)
                    identity.assign(reply->begin(), reply->begin() + length);
            }
        }
        link_.escapeAndClose();

        const std::string entry = text::formatUiText(text::Msg::BoardFoundOnPort, identity, port);
        if (state_.selectedPort == 0) {
            state_.selectedPort = port;
            found = entry;
        } else {
            found += ",  " + entry;
        }
    }
    messages_.status(state_.selectedPort != 0
                         ? found
                         : std::string(text::GetUiText(text::Msg::ProgrammerNotFound)));
}

}  // namespace zavuv::link

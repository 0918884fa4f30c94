// The board's identification text and serial number.

#include "link/BoardConnection.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "text/UiText.h"

namespace zavuv::link {

namespace {

constexpr int kReplyPauseMs = 50;

// The boot loader names itself in its identification text. The word must be
// followed by at least one character: a text that merely ends in it is the
// application's.
bool namesBootLoader(std::string_view text) {
    constexpr std::string_view word = "bootloader";
    for (std::size_t at = 0; at + word.size() < text.size(); ++at) {
        const auto candidate = text.substr(at, word.size());
        if (std::equal(candidate.begin(), candidate.end(), word.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == b;
            }))
            return true;
    }
    return false;
}

}  // namespace

bool BoardConnection::readBoardIdentity(bool bootLoaderMode) {
    state_.serialNumber.reset();
    messages_.status(text::Msg::ReadingFirmwareVersion);
    if (state_.selectedPort == 0) {
        messages_.status(text::Msg::SelectPort);
        messages_.box(text::Msg::NoBoardSpecified);
        return false;
    }
    base::BusyScope busy(messages_.user());
    if (!openAndCheckVersion(state_.selectedPort,
                             {.openOnly = bootLoaderMode, .quietVersion = bootLoaderMode}))
        return false;

    // A failure here ends the exchange too: the board goes back to idle and
    // the port is free for other programs.
    if (!link_.send(BoardCommand::CMD_GET_ID)) {
        link_.escapeAndClose();
        messages_.connectionError();
        return false;
    }
    link_.pause(kReplyPauseMs);
    const int length = link_.receiveByte();
    if (length <= 0) {
        link_.escapeAndClose();
        messages_.status(text::Msg::ErrorReadingVersion);
        messages_.box(text::Msg::ErrorReadingVersion);
        return false;
    }
    state_.boardIdentity = text::GetUiText(text::Msg::UnknownVersion);
    link_.pause(kReplyPauseMs);
    const auto reply = link_.receive(static_cast<std::size_t>(length) + 1);
    if (!reply || (*reply)[length] != kAck) {
        messages_.status(text::Msg::ErrorReadingVersion);
        messages_.box(text::Msg::ErrorReadingVersion);
        link_.escapeAndClose();
        return false;
    }
    const std::string identity(reply->begin(), reply->begin() + length);
    if (!bootLoaderMode && namesBootLoader(identity)) {
        messages_.box(text::Msg::NoFirmware);
        link_.escapeAndClose();
        return false;
    }
    state_.boardIdentity = identity;

    std::string serialText;
    if (!link_.send(BoardCommand::CMD_GET_SERIAL)) {
        messages_.box(text::Msg::ErrorReadingSerial);
    } else {
        const auto serial = link_.receive(6);
        if (!serial || (*serial)[5] != kAck) {
            messages_.box(text::Msg::ErrorReadingSerial);
            link_.escapeAndClose();
            return false;
        }
        SerialNumber& number = state_.serialNumber.emplace();
        std::copy_n(serial->begin(), number.size(), number.begin());
        serialText = text::formatUiText(text::Msg::SerialNumberText, number[0], number[1],
                                        number[2], number[3], number[4]);
    }

    if (!link_.escapeAndClose())
        messages_.box(text::Msg::IncorrectDisconnection);
    messages_.status(state_.boardIdentity + serialText);
    return true;
}

}  // namespace zavuv::link

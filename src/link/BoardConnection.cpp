#include "link/BoardConnection.h"

#include "text/UiText.h"

namespace zavuv::link {

namespace {

// The board needs this long before it answers the next exchange.
constexpr int kSyncPauseMs = 50;
// Time for a board that answered out of step to finish whatever it was sending.
constexpr int kSyncRetryPauseMs = 150;

constexpr FirmwareVersion kInternalError = {'e', 'r', 'r'};
constexpr FirmwareVersion kBootLoader = {'l', 'd', 'r'};
constexpr FirmwareVersion kBootLoader2 = {'l', 'd', '2'};

bool isReady(int answer) {
    return answer == kSyncReady || answer == kSyncReadyAlt;
}

}  // namespace

BoardConnection::BoardConnection(ProgrammerLink& link, base::UserPort& user)
    : link_(link), messages_(user) {}

bool BoardConnection::linkFailure() {
    link_.endSession();
    messages_.connectionError();
    return false;
}

// No session was opened, so none is ended; the port is closed all the same,
// so that a command that gave up does not keep the port from other programs.
bool BoardConnection::unanswered() {
    link_.channel().close();
    messages_.connectionError();
    return false;
}

bool BoardConnection::synchronise() {
    link_.pause(kSyncPauseMs);
    if (!link_.send(BoardCommand::CMD_SYNC))
        return linkFailure();
    int answer = link_.receiveByte();
    if (answer < 0)
        return unanswered();
    if (!isReady(answer) && answer != kSyncNoFirmware) {
        // Out of step, typically a board left at a session's baud rate. One more
        // try counts; whatever follows its answer is thrown away.
        link_.pause(kSyncRetryPauseMs);
        if (!link_.send(BoardCommand::CMD_SYNC))
            return linkFailure();
        answer = link_.receiveByte();
        if (!link_.drainLine())
            answer = -1;
    }
    if (answer < 0)
        return unanswered();
    if (!isReady(answer)) {
        link_.channel().close();
        messages_.box(text::Msg::NoFirmware);
        messages_.status(text::Msg::ConnectionError);
        return false;
    }
    return true;
}

std::optional<FirmwareVersion> BoardConnection::requestVersion(int replyPauseMs) {
    link_.pause(kSyncPauseMs);
    if (!link_.send(BoardCommand::CMD_GET_VERSION))
        return std::nullopt;
    if (replyPauseMs > 0)
        link_.pause(replyPauseMs);
    const auto reply = link_.receive(3);
    if (!reply)
        return std::nullopt;
    return FirmwareVersion{(*reply)[0], (*reply)[1], (*reply)[2]};
}

bool BoardConnection::checkVersion(const FirmwareVersion& version, bool quiet) {
    state_.bootLoaderSeen = false;
    state_.versionConflict = false;
    if (version == kInternalError) {
        if (!quiet) {
            messages_.box(text::Msg::InternalSyncError);
            messages_.status(text::Msg::ConnectionError);
        }
        return false;
    }
    if (version == kBootLoader || version == kBootLoader2) {
        state_.bootLoaderSeen = true;
        if (!quiet) {
            messages_.box(text::Msg::BootLoaderConflict);
            messages_.status(text::Msg::VersionConflictStatus);
        }
        return false;
    }
    if (version == REQUIRED_FIRMWARE_VERSION)
        return true;
    if (!quiet) {
        const auto& required = REQUIRED_FIRMWARE_VERSION;
        messages_.box(text::formatUiText(text::Msg::VersionConflict, char(version[0]),
                                         char(version[1]), char(version[2]), char(required[0]),
                                         char(required[1]), char(required[2])));
        messages_.status(text::Msg::VersionConflictStatus);
    }
    state_.versionConflict = true;
    return false;
}

bool BoardConnection::openAndCheckVersion(int port, const OpenOptions& options) {
    state_.bootLoaderSeen = false;
    state_.versionConflict = false;
    if (!link_.channel().open(port - 1, 19200)) {
        if (!options.quiet)
            messages_.cannotOpenPort(link_.channel().openDenied());
        return false;
    }
    link_.pause(kSyncPauseMs);
    if (options.openOnly)
        return true;
    if (!synchronise())
        return false;
    if (const auto version = requestVersion(kSyncPauseMs)) {
        state_.boardVersion = *version;
        if (options.checkVersion && !checkVersion(*version, options.quietVersion)) {
            link_.escapeAndClose();
            return false;
        }
        return true;
    }
    state_.boardVersion = {};
    if (options.quiet)
        return false;
    link_.escapeAndClose();
    messages_.connectionError();
    return false;
}

}  // namespace zavuv::link

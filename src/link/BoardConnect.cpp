// The board's half of the connect of every chip operation: the board found,
// checked and set up for the chip, at the operation's baud rate. The chip's
// driver then brings the target into programming mode.

#include "link/BoardConnection.h"

namespace zavuv::link {

namespace {

constexpr int kModePauseMs = 50;
// Lets the USB adapter and the board settle on the new baud rate.
constexpr int kBaudSwitchPauseMs = 45;

}  // namespace

bool BoardConnection::connectBoard(const BoardSetup& setup, int port, SpeedCode speed) {
    state_.bootLoaderSeen = false;
    state_.versionConflict = false;
    link_.setSessionMode(setup.session);

    SerialChannel& channel = link_.channel();
    if (!channel.open(port - 1, 19200)) {
        messages_.cannotOpenPort(channel.openDenied());
        return false;
    }
    if (!synchronise())
        return false;
    const auto version = requestVersion(0);
    if (!version)
        return linkFailure();
    if (!checkVersion(*version, false)) {
        link_.endSession();
        return false;
    }

    if (!link_.acknowledged(BoardCommand::CMD_SELECT_DEVICE, {setup.deviceCode}) ||
        !link_.acknowledged(BoardCommand::CMD_SET_WORD, {0x00, 0x00}))
        return linkFailure();

    if (!link_.send(BoardCommand::CMD_SET_MODE,
                    modeArguments(speed, setup.connectSck, setup.session.polling)))
        return linkFailure();
    link_.pause(kModePauseMs);
    if (!link_.expectAck())
        return linkFailure();
    link_.pause(kModePauseMs);

    if (speed != SpeedCode::Baud19200) {
        // The board answered at the old rate and now listens at the new one.
        channel.close();
        link_.pause(kBaudSwitchPauseMs);
        if (!channel.open(port - 1, baudRateOf(speed))) {
            messages_.cannotOpenPort(channel.openDenied());
            return false;
        }
        link_.pause(kBaudSwitchPauseMs);
    }
    return true;
}

}  // namespace zavuv::link

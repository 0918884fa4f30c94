#include "link/ProgrammerLink.h"

#include <algorithm>

namespace zavuv::link {

namespace {

// The board needs this long between the end of a session and the commands
// around it.
constexpr int kEndSessionPauseMs = 150;

}  // namespace

ProgrammerLink::ProgrammerLink(SerialChannel& channel, base::Clock& clock)
    : channel_(channel), clock_(clock) {}

void ProgrammerLink::pause(int ms) {
    clock_.sleepMs(ms);
}

void ProgrammerLink::pauseUnlessStopped(int ms) {
    clock_.sleepMsUnless(ms, stopRequested_);
}

bool ProgrammerLink::send(BoardCommand command, std::span<const std::uint8_t> arguments) {
    switch (framingOf(command)) {
    case Framing::Block: {
        std::uint8_t block[1 + kMaxBlockBytes];
        if (arguments.size() > kMaxBlockBytes)
            return false;
        block[0] = byteOf(command);
        std::copy(arguments.begin(), arguments.end(), block + 1);
        return channel_.sendBlock(std::span(block, 1 + arguments.size()));
    }
    case Framing::WriteBlock:
        if (arguments.empty() || arguments.size() > kMaxBlockBytes)
            return false;
        return channel_.sendByte(byteOf(command)) &&
               channel_.sendByte(static_cast<std::uint8_t>(arguments.size())) &&
               channel_.sendBlock(arguments);
    case Framing::ByteByByte:
        break;
    }
    if (!channel_.sendByte(byteOf(command)))
        return false;
    for (std::uint8_t byte : arguments)
        if (!channel_.sendByte(byte))
            return false;
    return true;
}

bool ProgrammerLink::send(BoardCommand command, std::initializer_list<std::uint8_t> arguments) {
    return send(command, std::span(arguments.begin(), arguments.size()));
}

bool ProgrammerLink::expectAck() {
    return channel_.receiveByte() == kAck;
}

bool ProgrammerLink::acknowledged(BoardCommand command, std::span<const std::uint8_t> arguments) {
    return send(command, arguments) && expectAck();
}

bool ProgrammerLink::acknowledged(BoardCommand command,
                                  std::initializer_list<std::uint8_t> arguments) {
    return acknowledged(command, std::span(arguments.begin(), arguments.size()));
}

bool ProgrammerLink::drainLine() {
    for (std::size_t drained = 0; drained < SerialChannel::kRxBufferSize; ++drained)
        if (channel_.receiveByte() < 0)
            return true;
    return false;
}

bool ProgrammerLink::endSession() {
    pause(kEndSessionPauseMs);
    bool ok = acknowledged(BoardCommand::CMD_END_SESSION);
    if (ok) {
        pause(kEndSessionPauseMs);
        // Baud code 0 brings the board back to 19200, where the next open finds it.
        ok = acknowledged(BoardCommand::CMD_SET_MODE,
                          modeArguments(SpeedCode::Baud19200, mode_.sck, mode_.polling));
    }
    channel_.close();
    return ok;
}

bool ProgrammerLink::escapeAndClose() {
    const bool sent = send(BoardCommand::CMD_ESCAPE);
    channel_.close();
    return sent;
}

}  // namespace zavuv::link

#pragma once
// The board's command language on the serial channel: the framing of every
// command, its acknowledgement, draining, and the two ways a board exchange
// ends. Reports nothing to the person; the sequences above decide what to say.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>

#include "base/Clock.h"
#include "link/BoardCommand.h"
#include "link/ModePacket.h"
#include "link/SerialChannel.h"

namespace zavuv::link {

class ProgrammerLink {
public:
    ProgrammerLink(SerialChannel& channel, base::Clock& clock);

    SerialChannel& channel() { return channel_; }
    base::Clock& clock() { return clock_; }

    // The protocol's pauses: the board needs them between some commands, and
    // a chip busy with a write needs them to run out; they always do.
    void pause(int ms);
    // The reset strobe and the project's own delays: nothing is busy during
    // them, so they end early when `stopRequested` says the run is being stopped.
    void pauseUnlessStopped(int ms);
    void setStopRequested(std::function<bool()> stopRequested) {
        stopRequested_ = std::move(stopRequested);
    }

    // Sends a command and its arguments the way this command travels (one block,
    // byte by byte, or count byte by byte and the data as a block).
    bool send(BoardCommand command, std::span<const std::uint8_t> arguments = {});
    bool send(BoardCommand command, std::initializer_list<std::uint8_t> arguments);

    // Reads one reply byte and checks that it is the CR acknowledgement.
    bool expectAck();
    // Sends a command and checks its CR acknowledgement.
    bool acknowledged(BoardCommand command, std::span<const std::uint8_t> arguments = {});
    bool acknowledged(BoardCommand command, std::initializer_list<std::uint8_t> arguments);

    int receiveByte() { return channel_.receiveByte(); }
    std::optional<std::span<const std::uint8_t>> receive(std::size_t count) {
        return channel_.receive(count);
    }

    // Throws away whatever the board still sends, up to one silent read attempt.
    // False when the board does not fall silent within a receive buffer's worth
    // of bytes: such a line is not one to talk on.
    bool drainLine();

    // The SCK code and polling flag that every CMD_SET_MODE of the current
    // session carries; set by the connect sequence.
    void setSessionMode(const ModeSettings& mode) { mode_ = mode; }
    const ModeSettings& sessionMode() const { return mode_; }

    // Releases the target, returns the board to 19200 baud and closes the port.
    // True when the board acknowledged both; the port is closed either way.
    bool endSession();
    // Leaves a board-level exchange that opened no target session and closes the
    // port. True when the escape byte went out.
    bool escapeAndClose();

private:
    SerialChannel& channel_;
    base::Clock& clock_;
    ModeSettings mode_;
    std::function<bool()> stopRequested_ = [] { return false; };
};

}  // namespace zavuv::link

#pragma once
// A board that lives in this process (the simulator) behind the port name
// "sim": made when a port first needs it, its ports run in virtual time, and
// stopped at the end so that it can keep its state. The link knows only this
// face of it, so the core never depends on the simulator.

#include <functional>
#include <memory>
#include <string>

#include "base/VirtualClock.h"
#include "link/SerialPort.h"

namespace zavuv::link {

class InProcessBoard {
public:
    virtual ~InProcessBoard() = default;
    // A port wired to the board, in the virtual time of `clock`.
    virtual std::unique_ptr<SerialPort> openPort(base::VirtualClock& clock) = 0;
    // Writes back what the board keeps; empty on success, else the message.
    // Later calls do nothing.
    virtual std::string stop() = 0;
};

// Makes the board, or nothing with the reason in `error`.
using InProcessBoardMaker = std::function<std::unique_ptr<InProcessBoard>(std::string& error)>;

}  // namespace zavuv::link

#pragma once
// Which line a COM number stands for: the device the profile maps it to (or a
// device given for this run only), and "sim", the simulated board in this
// process (made by the maker the program hands over). Makes the serial ports
// the channel opens.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "link/InProcessBoard.h"
#include "link/SerialPort.h"
#include "workspace/LinkClock.h"
#include "workspace/Preferences.h"

namespace zavuv::workspace {

inline constexpr const char* kSimulatedPortName = "sim";

class BoardPorts {
public:
    BoardPorts(const Preferences& preferences, LinkClock& clock);
    ~BoardPorts();

    // COM number `port` stands for `device` until the program ends; the profile
    // is not changed.
    void mapForThisRun(int port, std::string device);
    // The device COM number `port` (1..12) stands for; nothing outside 1..12.
    std::optional<std::string> deviceOf(int port) const;

    // How the simulated board is made when it is first needed; without a
    // maker the name "sim" stands for no board.
    void setSimulatorMaker(link::InProcessBoardMaker maker) { simulatorMaker_ = std::move(maker); }
    // Creates the simulated board now; empty on success, else why it cannot run.
    std::string startSimulator();
    // The simulated board, once a port has needed it; nullptr before.
    link::InProcessBoard* simulator() { return simulator_.get(); }
    // Writes the simulated chip's state back; empty on success, else the message.
    std::string stopSimulator();

    // The port for index 0 = COM1, or nullptr when the board cannot be had.
    std::unique_ptr<link::SerialPort> makePort(int portIndex);

    // Another back end for every COM number (the fuzzer's board that answers
    // random bytes); it takes the place of the profile's devices and "sim".
    using PortMaker = std::function<std::unique_ptr<link::SerialPort>(int port)>;
    void setPortMaker(PortMaker maker) { portMaker_ = std::move(maker); }

private:
    const Preferences& preferences_;
    LinkClock& clock_;
    std::map<int, std::string> runMapping_;
    link::InProcessBoardMaker simulatorMaker_;
    std::unique_ptr<link::InProcessBoard> simulator_;
    PortMaker portMaker_;
};

}  // namespace zavuv::workspace

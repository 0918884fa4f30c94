#pragma once
// Which line a COM number stands for: the device the profile maps it to (or a
// device given for this run only), and "sim", the simulated board in this
// process. Makes the serial ports the channel opens.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "link/SerialPort.h"
#include "sim/SimulatedBoard.h"
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

    // The options of the simulated board, used when it is first needed.
    void setSimulatorOptions(sim::SimOptions options) { simOptions_ = std::move(options); }
    // Creates the simulated board now; empty on success, else why it cannot run.
    std::string startSimulator();
    // The simulated board, once a port has needed it; nullptr before.
    sim::SimulatedBoard* simulator() { return simulator_.get(); }
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
    sim::SimOptions simOptions_;
    std::unique_ptr<sim::SimulatedBoard> simulator_;
    PortMaker portMaker_;
};

}  // namespace zavuv::workspace

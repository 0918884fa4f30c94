#include "workspace/BoardPorts.h"

#ifdef _WIN32
#include "link/Win32Port.h"
#else
#include "link/TermiosPort.h"
#endif

namespace zavuv::workspace {

BoardPorts::BoardPorts(const Preferences& preferences, LinkClock& clock)
    : preferences_(preferences), clock_(clock) {}

BoardPorts::~BoardPorts() {
    stopSimulator();
}

void BoardPorts::mapForThisRun(int port, std::string device) {
    runMapping_[port] = std::move(device);
}

std::optional<std::string> BoardPorts::deviceOf(int port) const {
    const auto mapped = runMapping_.find(port);
    if (mapped != runMapping_.end())
        return mapped->second;
    return preferences_.portDevice(port);
}

std::string BoardPorts::startSimulator() {
    if (simulator_)
        return {};
    if (!simulatorMaker_)
        return "this program has no simulated board";
    std::string error;
    simulator_ = simulatorMaker_(error);
    return simulator_ ? std::string() : error;
}

std::string BoardPorts::stopSimulator() {
    return simulator_ ? simulator_->stop() : std::string();
}

std::unique_ptr<link::SerialPort> BoardPorts::makePort(int portIndex) {
    const int port = portIndex + 1;
    if (portMaker_)
        return portMaker_(port);
    const std::optional<std::string> device = deviceOf(port);
    if (!device)
        return nullptr;
    const bool simulated = *device == kSimulatedPortName;
    if (simulated) {
        if (!startSimulator().empty())
            return nullptr;
        return simulator_->openPort(clock_.virtualClock());
    }
#ifdef _WIN32
    return std::make_unique<link::Win32Port>(*device);
#else
    return std::make_unique<link::TermiosPort>(*device);
#endif
}

}  // namespace zavuv::workspace

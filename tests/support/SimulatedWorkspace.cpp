#include "support/SimulatedWorkspace.h"

#include <cstring>

#include <gtest/gtest.h>

namespace zavuv::testing {

int deviceIndexOf(const std::string& name) {
    for (int i = 0; i < devices::DeviceTable::count(); ++i)
        if (name == devices::DeviceTable::at(i).name)
            return i;
    ADD_FAILURE() << "no device " << name;
    return 0;
}

SimulatedWorkspace::SimulatedWorkspace(const std::string& chip, std::vector<std::string> faults,
                                       const std::string& selected)
    : profile_(folder_.file("profile.ini")), ws_(user_, profile_) {
    ws_.setComPort(1);
    ws_.ports().mapForThisRun(1, workspace::kSimulatedPortName);
    sim::SimOptions options;
    options.chip = chip;
    options.faults = std::move(faults);
    options.traceInMemory = true;
    ws_.ports().setSimulatorMaker(sim::simulatorMaker(options));
    const std::string error = ws_.ports().startSimulator();
    EXPECT_EQ(error, "");
    const std::string& device = selected.empty() ? chip : selected;
    ws_.project().deviceNo = deviceIndexOf(device);
    ws_.selectDevice(ws_.project().deviceNo);
}

SimulatedWorkspace::~SimulatedWorkspace() = default;

sim::SimulatedBoard& SimulatedWorkspace::board() {
    return dynamic_cast<sim::SimulatedBoard&>(*ws_.ports().simulator());
}

std::vector<std::string> SimulatedWorkspace::trace() {
    return board().trace().lines();
}

std::vector<int> SimulatedWorkspace::pauses() {
    return ws_.clock().virtualClock().pauses();
}

bool SimulatedWorkspace::boardIdle() {
    return board().board().baudRate() == 19200 && !board().board().targetHeld() &&
           !ws_.channel().connected();
}

}  // namespace zavuv::testing

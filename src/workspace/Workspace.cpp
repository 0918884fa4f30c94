#include "workspace/Workspace.h"

namespace zavuv::workspace {

using devices::DeviceTable;

Workspace::Workspace(base::UserPort& user, ProfileStore& profile)
    : user_(user), preferences_(profile), flash_(false, user), eeprom_(true, user),
      project_(flash_, eeprom_, user), selectedDevice_(project_.deviceNo),
      ports_(preferences_, clock_),
      channel_([this](int portIndex) { return ports_.makePort(portIndex); }),
      link_(channel_, clock_), connection_(link_, user) {
    // The port last opened decides: its pauses go by between open and close,
    // and the end of a session pauses on the port it is closing.
    clock_.setVirtualWhen([this] {
        return ports_.deviceOf(channel_.portIndex() + 1) == std::string(kSimulatedPortName);
    });
    link_.setStopRequested([this] { return progressRunner_->stopRequested(); });
}

void Workspace::readPreferences() {
    baudIndex = preferences_.baudIndex();
    setComPort(preferences_.comPort());
    boardDelays = preferences_.boardDelays();
}

const devices::DeviceInfo& Workspace::selectedDeviceInfo() const {
    return DeviceTable::at(selectedDevice_);
}

const devices::DeviceInfo& Workspace::projectDeviceInfo() const {
    return DeviceTable::isValidIndex(project_.deviceNo) ? DeviceTable::at(project_.deviceNo)
                                                        : selectedDeviceInfo();
}

void Workspace::selectDevice(int deviceIndex) {
    if (!DeviceTable::isValidIndex(deviceIndex) || deviceIndex == selectedDevice_)
        return;
    selectedDevice_ = deviceIndex;
    if (selectionObserver_)
        selectionObserver_->selectedDeviceChanged(deviceIndex);
}

void Workspace::deviceChosen(int deviceIndex) {
    if (!DeviceTable::isValidIndex(deviceIndex))
        return;
    selectedDevice_ = deviceIndex;
    if (project_.deviceNo != deviceIndex) {
        project_.deviceNo = deviceIndex;
        project_.setDirty();
    }
}

link::TargetOptions Workspace::targetOptions() const {
    link::TargetOptions options;
    options.selectedDevice = selectedDevice_;
    options.deviceNo =
        DeviceTable::isValidIndex(project_.deviceNo) ? project_.deviceNo : selectedDevice_;
    options.spiPeriod = project_.spiPeriod;
    options.polling = project_.polling;
    options.resetStrobeLength = project_.resetStrobeLength;
    options.noSynchronization = project_.noSynchronization;
    return options;
}

}  // namespace zavuv::workspace

#pragma once
// The device box's three drop-down lists: chip family (1005), device of that
// family (1016) and SCK period (1148). The workspace holds the selection; the
// lists show it and hand the person's choices to it.

#include <functional>

#include "workspace/Workspace.h"

class QComboBox;

namespace zavuv::app::shell {

class DeviceLists final : public workspace::SelectionObserver {
public:
    // `refresh` brings the window's title and commands up to date.
    DeviceLists(workspace::Workspace& ws, QComboBox* family, QComboBox* device, QComboBox* sck,
                std::function<void()> refresh);
    ~DeviceLists() override;
    DeviceLists(const DeviceLists&) = delete;
    DeviceLists& operator=(const DeviceLists&) = delete;

    // The device table index the two lists show, or -1.
    int GetSelectedDevice() const;
    // The first family with its first device.
    void FillDeviceLists();
    // Shows the device in both lists and makes it the workspace's selection;
    // the project keeps its own device.
    void SelectDevice(int deviceIndex);
    // The person chose a family: its first device is chosen.
    void OnFamilyChanged();
    // The person chose a device: it becomes the project's device.
    void OnDeviceChanged();

    void FillSckList();
    // Shows the project's SCK period; a period outside the list shows none.
    void SelectSckPeriod(int spiPeriod);
    // The person chose an SCK period: the project takes it without becoming modified.
    void OnSckChanged();

    // The core switched the selection (a chip whose signature was read).
    void selectedDeviceChanged(int deviceIndex) override;

private:
    void showDevice(int deviceIndex);
    void fillDevicesOf(int family);

    workspace::Workspace& ws_;
    QComboBox* family_;
    QComboBox* device_;
    QComboBox* sck_;
    std::function<void()> refresh_;
};

}  // namespace zavuv::app::shell

#include "app/shell/DeviceLists.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "app/widgets/WindowThread.h"
#include "devices/DeviceTable.h"
#include "devices/SckPeriodNames.h"

namespace zavuv::app::shell {

using devices::DeviceFamily;
using devices::DeviceTable;

DeviceLists::DeviceLists(workspace::Workspace& ws, QComboBox* family, QComboBox* device,
                         QComboBox* sck, std::function<void()> refresh)
    : ws_(ws), family_(family), device_(device), sck_(sck), refresh_(std::move(refresh)) {
    ws_.setSelectionObserver(this);
}

DeviceLists::~DeviceLists() {
    ws_.setSelectionObserver(nullptr);
}

int DeviceLists::GetSelectedDevice() const {
    if (family_->currentIndex() < 0 || device_->currentIndex() < 0)
        return -1;
    return DeviceTable::indexAt(static_cast<DeviceFamily>(family_->currentIndex()),
                                device_->currentIndex());
}

void DeviceLists::FillDeviceLists() {
    const QSignalBlocker quiet(family_);
    family_->clear();
    for (int f = 0; f < devices::kFamilyCount; ++f)
        family_->addItem(DeviceTable::familyName(static_cast<DeviceFamily>(f)));
    family_->setCurrentIndex(0);
    fillDevicesOf(0);
}

void DeviceLists::SelectDevice(int deviceIndex) {
    showDevice(deviceIndex);
    ws_.selectDevice(deviceIndex);
}

void DeviceLists::OnFamilyChanged() {
    fillDevicesOf(family_->currentIndex());
    OnDeviceChanged();
}

void DeviceLists::OnDeviceChanged() {
    ws_.deviceChosen(GetSelectedDevice());
    refresh_();
}

void DeviceLists::FillSckList() {
    const QSignalBlocker quiet(sck_);
    sck_->clear();
    for (const char* name : devices::kSckPeriodNames)
        sck_->addItem(name);
}

void DeviceLists::SelectSckPeriod(int spiPeriod) {
    const QSignalBlocker quiet(sck_);
    sck_->setCurrentIndex(spiPeriod >= 0 && spiPeriod < devices::kSckPeriodCount ? spiPeriod : -1);
}

void DeviceLists::OnSckChanged() {
    if (sck_->currentIndex() >= 0)
        ws_.project().spiPeriod = sck_->currentIndex();
}

// An operation may switch the device from its worker thread; the lists change
// on the window thread only.
void DeviceLists::selectedDeviceChanged(int deviceIndex) {
    widgets::runOnWindowThread(family_, [this, deviceIndex] {
        showDevice(deviceIndex);
        refresh_();
    });
}

void DeviceLists::showDevice(int deviceIndex) {
    if (!DeviceTable::isValidIndex(deviceIndex))
        return;
    const devices::FamilyPosition place = DeviceTable::familyPosition(deviceIndex);
    const QSignalBlocker quiet(family_);
    family_->setCurrentIndex(static_cast<int>(place.family));
    fillDevicesOf(static_cast<int>(place.family));
    const QSignalBlocker quietDevice(device_);
    device_->setCurrentIndex(place.position);
}

void DeviceLists::fillDevicesOf(int family) {
    const QSignalBlocker quiet(device_);
    device_->clear();
    if (family < 0)
        return;
    for (const char* name : DeviceTable::devicesOfFamily(static_cast<DeviceFamily>(family)))
        device_->addItem(name);
    device_->setCurrentIndex(0);
}

}  // namespace zavuv::app::shell

// The device box: the family, device and SCK lists, the project's device
// and the enabling of the operation buttons.

#include <gtest/gtest.h>

#include <QPushButton>

#include "MainWindowFixture.h"
#include "devices/DeviceTable.h"
#include "support/SimulatedWorkspace.h"

using namespace zavuv;
using namespace zavuv::app;
using devices::DeviceFamily;
using devices::DeviceTable;
using zavuv::testing::deviceIndexOf;
using zavuv::testing::MainWindowFixture;

namespace {

class DeviceBox : public MainWindowFixture {
protected:
    QComboBox* devices() const { return byId<QComboBox>(1016); }
    QStringList deviceNames() const {
        QStringList names;
        for (int i = 0; i < devices()->count(); ++i)
            names << devices()->itemText(i);
        return names;
    }
    bool enabled(int id) const { return byId(id)->isEnabled(); }
    bool dirtyTitle() const { return title().find("* - ") != std::string::npos; }
    void fillFlash() { window->workspace().flash().create(64); }
};

}  // namespace

TEST_F(DeviceBox, StartShowsTheProjectsDeviceAndSckPeriod) {
    start();
    EXPECT_EQ(byId<QComboBox>(1005)->count(), 7);
    EXPECT_EQ(byId<QComboBox>(1005)->currentText(), "ATmega...");
    EXPECT_EQ(devices()->currentText(), "ATmega8");
    EXPECT_EQ(byId<QComboBox>(1148)->currentText(), "4 uS (250 kHz)");
    EXPECT_EQ(byId<QComboBox>(1148)->count(), 8);
    EXPECT_FALSE(dirtyTitle());
}

TEST_F(DeviceBox, ChangingTheFamilyChoosesItsFirstDeviceAndMarksTheProjectModified) {
    start();
    chooseFamily(static_cast<int>(DeviceFamily::At45));
    QStringList expected;
    for (const char* name : DeviceTable::devicesOfFamily(DeviceFamily::At45))
        expected << name;
    EXPECT_EQ(deviceNames(), expected);
    EXPECT_EQ(devices()->currentIndex(), 0);
    EXPECT_EQ(window->workspace().project().deviceNo, DeviceTable::indexAt(DeviceFamily::At45, 0));
    EXPECT_EQ(window->workspace().selectedDevice(), DeviceTable::indexAt(DeviceFamily::At45, 0));
    EXPECT_TRUE(dirtyTitle());
    // DataFlash has no EEPROM and no automatic sequence.
    window->workspace().eeprom().create(16);
    window->UpdateControls();
    for (const int id : {1014, 1011, 1012, 1015})
        EXPECT_FALSE(enabled(id)) << id;
    EXPECT_TRUE(enabled(1013));
    EXPECT_TRUE(enabled(1008));
}

TEST_F(DeviceBox, ChoosingTheProjectsOwnDeviceLeavesTheProjectUnmodified) {
    start();
    // The lists show another chip (a signature was read); the project keeps ATmega8.
    window->workspace().selectDevice(deviceIndexOf("ATmega16"));
    devices()->setCurrentText("ATmega8");
    EXPECT_FALSE(dirtyTitle());
    EXPECT_EQ(window->workspace().selectedDevice(), deviceIndexOf("ATmega8"));
    devices()->setCurrentText("ATmega16");
    EXPECT_TRUE(dirtyTitle());
    EXPECT_EQ(window->workspace().project().deviceNo, deviceIndexOf("ATmega16"));
}

TEST_F(DeviceBox, SerialEepromDisablesFlashEraseAndAutoProgramWhateverTheBufferHolds) {
    start();
    fillFlash();
    window->UpdateControls();
    EXPECT_TRUE(enabled(1009));
    chooseFamily(static_cast<int>(DeviceFamily::At25));
    for (const int id : {1008, 32779, 1015, 1013, 1009, 1010, 1103})
        EXPECT_FALSE(enabled(id)) << id;
    EXPECT_TRUE(enabled(1014));
    EXPECT_FALSE(menuItem(32904)->isEnabled());
    // Only the buttons follow the device; their menu items stay.
    EXPECT_TRUE(menuItem(1009)->isEnabled());
}

TEST_F(DeviceBox, EmptyFlashBufferDisablesProgramAndVerifyButNotRead) {
    start();
    EXPECT_FALSE(enabled(1009));
    EXPECT_FALSE(enabled(1010));
    EXPECT_TRUE(enabled(1013));
    EXPECT_TRUE(menuItem(32904)->isEnabled());
    fillFlash();
    EXPECT_TRUE(enabled(1009));
    EXPECT_TRUE(enabled(1010));
    chooseFamily(static_cast<int>(DeviceFamily::At89S));
    EXPECT_FALSE(menuItem(32904)->isEnabled());
}

TEST_F(DeviceBox, SckChoiceGoesToTheProjectWithoutModifyingIt) {
    start();
    byId<QComboBox>(1148)->setCurrentIndex(7);
    EXPECT_EQ(window->workspace().project().spiPeriod, 7);
    EXPECT_FALSE(dirtyTitle());
}

TEST_F(DeviceBox, ListsFollowADeviceTheCoreSelects) {
    start();
    window->workspace().selectDevice(deviceIndexOf("ATtiny2313"));
    EXPECT_EQ(byId<QComboBox>(1005)->currentText(), "ATtiny...");
    EXPECT_EQ(devices()->currentText(), "ATtiny2313");
    // The project keeps its own device.
    EXPECT_EQ(window->workspace().project().deviceNo, deviceIndexOf("ATmega8"));
}

#include <filesystem>

#include <gtest/gtest.h>

#include "TemporaryProfile.h"
#include "workspace/PortList.h"
#include "workspace/Preferences.h"

namespace fs = std::filesystem;
using zavuv::link::DetectedPort;
using zavuv::workspace::listPorts;
using zavuv::workspace::Preferences;
using zavuv::workspace::ProfileStore;

using PortListTest = zavuv::testing::TemporaryProfile;

// A slot that names an adapter by its stable by-id link and an adapter no slot
// names: the adapter appears once, in its slot, with its description; the other
// is listed after the slots.
TEST_F(PortListTest, AnAdapterInASlotIsNotListedAgain) {
#ifdef _WIN32
    GTEST_SKIP() << "the adapter's by-id name is a symbolic link, which wine cannot make";
#else
    const std::string usb0 = scratch_.write("ttyUSB0", "");
    const std::string acm3 = scratch_.write("ttyACM3", "");
    fs::create_directories(scratch_.path() / "by-id");
    const fs::path link = scratch_.path() / "by-id" / "usb-FTDI_FT232R-if00";
    fs::create_symlink(usb0, link);
    const std::vector<DetectedPort> found{{acm3, acm3, ""},
                                          {usb0, usb0, "FTDI FT232R USB UART"},
                                          {link.string(), usb0, "FTDI FT232R USB UART"}};
    ProfileStore profile(profilePath());
    Preferences preferences(profile);
    ASSERT_TRUE(preferences.setPortDevice(2, link.string()));
    ASSERT_TRUE(preferences.setPortDevice(3, "sim"));

    const auto ports = listPorts(preferences, found);
    ASSERT_EQ(ports.size(), 13u);
    EXPECT_EQ(ports[1].comSlot, 2);
    EXPECT_TRUE(ports[1].present);
    EXPECT_EQ(ports[1].description, "FTDI FT232R USB UART");
    EXPECT_EQ(ports[1].state, "present: FTDI FT232R USB UART");
    EXPECT_TRUE(ports[2].simulated);
    EXPECT_FALSE(ports[2].present);
    EXPECT_EQ(ports[2].state, "simulated board");
    EXPECT_EQ(ports[12].comSlot, 0);
    EXPECT_EQ(ports[12].device, acm3);
    EXPECT_EQ(ports[12].state, "present");
    EXPECT_FALSE(ports[12].denied);  // root or owner: it may be opened
#endif
}

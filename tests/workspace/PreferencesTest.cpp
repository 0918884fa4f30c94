#include <gtest/gtest.h>

#include "TemporaryProfile.h"
#include "buffers/IniFile.h"
#include "workspace/Preferences.h"

using namespace zavuv::workspace;
using zavuv::buffers::IniFile;
using zavuv::testing::TemporaryProfile;
using zavuv::text::Language;

TEST_F(TemporaryProfile, PreferencesOfAnEmptyProfileAreTheDefaults) {
    ProfileStore profile(profilePath());
    const Preferences preferences(profile);
    EXPECT_EQ(preferences.comPort(), 0);
    EXPECT_EQ(preferences.baudIndex(), 0);
    EXPECT_EQ(preferences.boardDelays(), zavuv::link::BoardDelays{});
    EXPECT_EQ(preferences.language(), Language::English);
    EXPECT_FALSE(preferences.loadMostRecent());
}

TEST_F(TemporaryProfile, PreferencesAreStoredUnderTheirKeys) {
    {
        ProfileStore profile(profilePath());
        Preferences preferences(profile);
        ASSERT_TRUE(preferences.setComPort(5));
        ASSERT_TRUE(preferences.setBaudIndex(2));
        ASSERT_TRUE(preferences.setBoardDelays({1, 2, 3, 1000}));
        ASSERT_TRUE(preferences.setLanguage(Language::Russian));
        ASSERT_TRUE(preferences.setLoadMostRecent(true));
    }
    const std::optional<IniFile> file = IniFile::load(scratch_.file("zavuv.ini"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->readInt("Connect", "COM", -1), 5);
    EXPECT_EQ(file->readInt("Connect", "HighSpeed", -1), 2);
    EXPECT_EQ(file->readInt("Connect", "Special1", -1), 1);
    EXPECT_EQ(file->readInt("Connect", "Special2", -1), 2);
    EXPECT_EQ(file->readInt("Connect", "Special3", -1), 3);
    EXPECT_EQ(file->readInt("Connect", "Special4", -1), 1000);
    EXPECT_EQ(file->readInt("Language", "Russian", -1), 1);
    EXPECT_EQ(file->readInt("Recent", "LoadMostRecent", -1), 1);

    ProfileStore profile = reopened();
    const Preferences preferences(profile);
    EXPECT_EQ(preferences.comPort(), 5);
    EXPECT_EQ(preferences.baudIndex(), 2);
    EXPECT_EQ(preferences.boardDelays(), (zavuv::link::BoardDelays{1, 2, 3, 1000}));
    EXPECT_EQ(preferences.language(), Language::Russian);
    EXPECT_TRUE(preferences.loadMostRecent());
}

TEST_F(TemporaryProfile, StoredValuesOutsideTheirRangeReadSafely) {
    ProfileStore profile(profilePath());
    ASSERT_TRUE(profile.writeInt("Connect", "COM", 13));
    ASSERT_TRUE(profile.writeInt("Connect", "HighSpeed", 3));
    ASSERT_TRUE(profile.writeInt("Connect", "Special1", -5));
    ASSERT_TRUE(profile.writeInt("Connect", "Special3", 5000));
    ASSERT_TRUE(profile.writeInt("Language", "Russian", 7));
    const Preferences preferences(profile);
    EXPECT_EQ(preferences.comPort(), 0);
    EXPECT_EQ(preferences.baudIndex(), 0);
    EXPECT_EQ(preferences.boardDelays(),
              (zavuv::link::BoardDelays{0, 0, zavuv::link::kMaxBoardDelayMs, 0}));
    EXPECT_EQ(preferences.language(), Language::Russian);
}

TEST_F(TemporaryProfile, SettersRefuseValuesOutsideTheirRange) {
    ProfileStore profile(profilePath());
    Preferences preferences(profile);
    EXPECT_FALSE(preferences.setComPort(13));
    EXPECT_FALSE(preferences.setComPort(-1));
    EXPECT_FALSE(preferences.setBaudIndex(3));
    EXPECT_FALSE(preferences.setBoardDelays({0, 1001, 0, 0}));
    EXPECT_FALSE(preferences.setPortDevice(0, "/dev/ttyS0"));
    EXPECT_FALSE(std::filesystem::exists(profilePath()));
    EXPECT_TRUE(preferences.setComPort(0));
}

TEST(Preferences, BaudIndexNamesTheRate) {
    EXPECT_EQ(baudRate(0), 19200);
    EXPECT_EQ(baudRate(1), 115200);
    EXPECT_EQ(baudRate(2), 921600);
    EXPECT_EQ(baudRate(3), 19200);
}

TEST_F(TemporaryProfile, PortsMapToDevicesUnlessTheProfileNamesOne) {
    ProfileStore profile(profilePath());
    Preferences preferences(profile);
#ifdef _WIN32
    EXPECT_EQ(preferences.portDevice(1), "COM1");
    EXPECT_EQ(preferences.portDevice(12), "COM12");
#else
    EXPECT_EQ(preferences.portDevice(1), "/dev/ttyUSB0");
    EXPECT_EQ(preferences.portDevice(8), "/dev/ttyUSB7");
    EXPECT_EQ(preferences.portDevice(9), "/dev/ttyACM0");
    EXPECT_EQ(preferences.portDevice(12), "/dev/ttyACM3");
#endif
    EXPECT_EQ(preferences.portDevice(0), std::nullopt);
    EXPECT_EQ(preferences.portDevice(13), std::nullopt);

    ASSERT_TRUE(preferences.setPortDevice(3, "/dev/serial/by-id/usb-FTDI-if00"));
    ASSERT_TRUE(preferences.setPortDevice(4, "sim"));
    ProfileStore next = reopened();
    EXPECT_EQ(next.readString("Ports", "COM3", ""), "/dev/serial/by-id/usb-FTDI-if00");
    EXPECT_EQ(Preferences(next).portDevice(3), "/dev/serial/by-id/usb-FTDI-if00");
    EXPECT_EQ(Preferences(next).portDevice(4), "sim");

    // An emptied entry falls back to the default device.
    ASSERT_TRUE(preferences.setPortDevice(3, ""));
    EXPECT_EQ(preferences.portDevice(3), defaultPortDevice(3));
}

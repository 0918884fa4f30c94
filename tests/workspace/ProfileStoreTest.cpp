#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "TemporaryProfile.h"
#include "buffers/IniFile.h"
#include "support/EnvironmentVariable.h"
#include "workspace/ProfileStore.h"

using namespace zavuv::workspace;
using zavuv::testing::TemporaryProfile;
namespace fs = std::filesystem;

namespace {

EnvironmentLookup environmentOf(std::map<std::string, std::string> variables) {
    return [variables](const char* name) -> std::optional<std::string> {
        const auto found = variables.find(name);
        return found == variables.end() ? std::nullopt : std::optional(found->second);
    };
}

}  // namespace

TEST(ProfileLocation, NamedFileComesFirst) {
    EXPECT_EQ(profileLocation(environmentOf({{"ZAVUV_PROFILE", "/tmp/p.ini"},
                                             {"XDG_CONFIG_HOME", "/xdg"},
                                             {"HOME", "/home/u"},
                                             {"APPDATA", "C:\\Users\\u\\AppData\\Roaming"}})),
              fs::path("/tmp/p.ini"));
}

#ifdef _WIN32
TEST(ProfileLocation, WindowsUsesAppData) {
    EXPECT_EQ(profileLocation(environmentOf({{"APPDATA", "C:\\Roaming"}})),
              fs::path("C:\\Roaming") / "zavuv" / "zavuv.ini");
    EXPECT_EQ(profileLocation(environmentOf({})), fs::path());
}
#else
TEST(ProfileLocation, PosixUsesTheXdgConfigurationFolder) {
    EXPECT_EQ(profileLocation(environmentOf({{"XDG_CONFIG_HOME", "/xdg"}, {"HOME", "/home/u"}})),
              fs::path("/xdg/zavuv/zavuv.ini"));
    EXPECT_EQ(profileLocation(environmentOf({{"XDG_CONFIG_HOME", "rel"}, {"HOME", "/home/u"}})),
              fs::path("/home/u/.config/zavuv/zavuv.ini"));
    EXPECT_EQ(profileLocation(environmentOf({{"ZAVUV_PROFILE", ""}, {"HOME", "/home/u"}})),
              fs::path("/home/u/.config/zavuv/zavuv.ini"));
    EXPECT_EQ(profileLocation(environmentOf({})), fs::path());
}
#endif

TEST_F(TemporaryProfile, ProcessEnvironmentNamesTheProfile) {
    const zavuv::testing::ScopedVariable profile("ZAVUV_PROFILE",
                                                 zavuv::base::utf8Name(profilePath()));
    EXPECT_EQ(defaultProfileLocation(), profilePath());
}

TEST_F(TemporaryProfile, EveryWriteIsOnDiskAtOnce) {
    const fs::path nested = folder_ / "config" / "zavuv" / "zavuv.ini";
    ProfileStore store(nested);
    EXPECT_EQ(store.readInt("Connect", "COM", 0), 0);
    ASSERT_TRUE(store.writeInt("Connect", "COM", 3));
    ASSERT_TRUE(store.writeString("Recent", "Project1", "/p/a.kb2"));
    EXPECT_EQ(store.readInt("Connect", "COM", 0), 3);

    const ProfileStore next(nested);
    EXPECT_TRUE(next.readable());
    EXPECT_EQ(next.readInt("Connect", "COM", 0), 3);
    EXPECT_EQ(next.readString("Recent", "Project1", ""), "/p/a.kb2");
}

TEST_F(TemporaryProfile, WritesKeepWhatAnotherCopyWroteMeanwhile) {
    ProfileStore first(profilePath());
    ProfileStore second(profilePath());
    ASSERT_TRUE(first.writeInt("Connect", "COM", 4));
    ASSERT_TRUE(second.writeInt("Language", "Russian", 1));
    const ProfileStore next = reopened();
    EXPECT_EQ(next.readInt("Connect", "COM", 0), 4);
    EXPECT_EQ(next.readInt("Language", "Russian", 0), 1);
}

TEST_F(TemporaryProfile, AChangeSetReachesTheFileWholeWhenItClosesAndKeepsAnotherCopysKeys) {
    ProfileStore store(profilePath());
    ProfileStore other(profilePath());
    {
        const ProfileStore::ChangeSet outer(store);
        ASSERT_TRUE(store.writeInt("Connect", "COM", 5));
        {
            const ProfileStore::ChangeSet inner(store);
            ASSERT_TRUE(store.writeString("Recent", "Project1", "/p/b.kb2"));
        }
        // Read back at once, but not yet on disk, not even after the inner set.
        EXPECT_EQ(store.readInt("Connect", "COM", 0), 5);
        EXPECT_FALSE(fs::exists(profilePath()));
        ASSERT_TRUE(other.writeInt("Language", "Russian", 1));
        ASSERT_TRUE(store.writeInt("Connect", "COM", 6));  // the last value wins
    }
    const ProfileStore next = reopened();
    EXPECT_EQ(next.readInt("Connect", "COM", 0), 6);
    EXPECT_EQ(next.readString("Recent", "Project1", ""), "/p/b.kb2");
    EXPECT_EQ(next.readInt("Language", "Russian", 0), 1);
    EXPECT_EQ(store.readInt("Language", "Russian", 0), 1);
}

TEST_F(TemporaryProfile, UnreadableProfileIsNeverReplaced) {
    fs::create_directory(profilePath());
    ProfileStore store(profilePath());
    EXPECT_FALSE(store.readable());
    EXPECT_EQ(store.readInt("Connect", "COM", 7), 7);
    EXPECT_FALSE(store.writeInt("Connect", "COM", 2));
    EXPECT_TRUE(fs::is_directory(profilePath()));
    // The session still goes on with what the user chose.
    EXPECT_EQ(store.readInt("Connect", "COM", 0), 2);
}

TEST(ProfileStore, WithoutALocationNothingIsSaved) {
    ProfileStore store{fs::path()};
    EXPECT_FALSE(store.writeInt("Connect", "COM", 2));
    EXPECT_EQ(store.readInt("Connect", "COM", 0), 2);
}

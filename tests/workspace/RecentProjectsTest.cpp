#include <gtest/gtest.h>

#include <filesystem>

#include <fmt/format.h>

#include "TemporaryProfile.h"
#include "workspace/RecentProjects.h"

using namespace zavuv::workspace;
using zavuv::testing::TemporaryProfile;

namespace {

using Slots = std::array<std::string, kRecentProjectSlots>;

// Fills the profile's slots; "" stands for the marker.
void storeSlots(ProfileStore& profile, const Slots& slots) {
    for (std::size_t k = 0; k < slots.size(); ++k) {
        const std::string value = slots[k].empty() ? std::string(kUnspecifiedPath) : slots[k];
        ASSERT_TRUE(profile.writeString("Recent", fmt::format("Project{}", k + 1), value));
    }
}

}  // namespace

TEST_F(TemporaryProfile, RecentListOfAnEmptyProfileIsEmpty) {
    ProfileStore profile(profilePath());
    RecentProjects recent(profile);
    recent.load();
    for (const std::string& slot : recent.paths()) {
        EXPECT_EQ(slot, kUnspecifiedPath);
    }
    EXPECT_TRUE(recent.entries().empty());

    ASSERT_TRUE(recent.add("/p/first.kb2"));
    EXPECT_EQ(recent.entries(), std::vector<std::string>{"/p/first.kb2"});
    // A name relative to where the program started is kept as the file it named.
    ASSERT_TRUE(recent.add("jobs/../job.kb2"));
    EXPECT_EQ(recent.entries()[0], (std::filesystem::current_path() / "job.kb2").string());
}

TEST_F(TemporaryProfile, ReAddedPathMovesToTheFrontInItsNewCase) {
    ProfileStore profile(profilePath());
    storeSlots(profile, {"s0", "s1", "s2", "/P/Board.kb2", "s4", "s5", "s6", "s7"});
    RecentProjects recent(profile);
    recent.load();

    ASSERT_TRUE(recent.add("/p/board.KB2"));
    const Slots expected = {"/p/board.KB2", "s0", "s1", "s2", "s4", "s5", "s6", "s7"};
    EXPECT_EQ(recent.paths(), expected);

    ProfileStore next = reopened();
    RecentProjects reloaded(next);
    reloaded.load();
    EXPECT_EQ(reloaded.paths(), expected);

    ASSERT_TRUE(recent.add("/P/BOARD.kb2"));
    EXPECT_EQ(recent.paths()[0], "/P/BOARD.kb2");
    EXPECT_EQ(recent.paths()[1], "s0");
}

TEST_F(TemporaryProfile, NinthDistinctPathDropsTheOldest) {
    ProfileStore profile(profilePath());
    RecentProjects recent(profile);
    for (int i = 1; i <= 9; ++i) {
        ASSERT_TRUE(recent.add(fmt::format("/p/{}.kb2", i)));
    }
    const Slots expected = {"/p/9.kb2", "/p/8.kb2", "/p/7.kb2", "/p/6.kb2",
                            "/p/5.kb2", "/p/4.kb2", "/p/3.kb2", "/p/2.kb2"};
    EXPECT_EQ(recent.paths(), expected);
}

TEST_F(TemporaryProfile, EntriesStopAtTheFirstEmptySlot) {
    ProfileStore profile(profilePath());
    storeSlots(profile, {"/a.kb2", "/b.kb2", "", "/d.kb2", "", "", "", ""});
    ASSERT_TRUE(profile.writeString("Recent", "Project2", " "));  // reads as empty
    RecentProjects recent(profile);
    recent.load();
    EXPECT_EQ(recent.entries(), std::vector<std::string>{"/a.kb2"});
    EXPECT_EQ(recent.paths()[1], kUnspecifiedPath);
}

TEST_F(TemporaryProfile, NothingThatIsNotAPathEntersTheList) {
    ProfileStore profile(profilePath());
    RecentProjects recent(profile);
    ASSERT_TRUE(recent.add("/a.kb2"));
    EXPECT_TRUE(recent.add(""));
    EXPECT_TRUE(recent.add(kUnspecifiedPath));
    EXPECT_EQ(recent.entries(), std::vector<std::string>{"/a.kb2"});
}

TEST_F(TemporaryProfile, LongPathsAreKeptWhole) {
    const std::string longPath = "/" + std::string(3000, 'd') + "/project.kb2";
    {
        ProfileStore profile(profilePath());
        RecentProjects recent(profile);
        ASSERT_TRUE(recent.add(longPath));
    }
    ProfileStore profile = reopened();
    RecentProjects recent(profile);
    recent.load();
    EXPECT_EQ(recent.entries(), std::vector<std::string>{longPath});
}

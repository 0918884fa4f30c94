#pragma once
// A profile file in a fresh folder of its own, removed with everything in it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "workspace/ProfileStore.h"

namespace zavuv::testing {

class TemporaryProfile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zavuv-profile-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path profilePath() const { return folder_ / "zavuv.ini"; }
    // What another run of the program would read.
    workspace::ProfileStore reopened() const { return workspace::ProfileStore(profilePath()); }

    std::filesystem::path folder_;
};

} // namespace zavuv::testing

#pragma once
// A profile file in a fresh folder of its own, removed with everything in it.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/ScratchFolder.h"
#include "workspace/ProfileStore.h"

namespace zavuv::testing {

class TemporaryProfile : public ::testing::Test {
protected:
    std::filesystem::path profilePath() const { return scratch_.file("zavuv.ini"); }
    // What another run of the program would read.
    workspace::ProfileStore reopened() const { return workspace::ProfileStore(profilePath()); }

    ScratchFolder scratch_;
    const std::filesystem::path folder_ = scratch_.file("");
};

}  // namespace zavuv::testing

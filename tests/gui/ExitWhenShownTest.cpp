// The zavuv program asked to end once its window is shown, as the start-up
// benchmark runs it.

#include <regex>

#include <gtest/gtest.h>

#include "support/RunProgram.h"
#include "support/ScratchFolder.h"
#include "workspace/ProfileStore.h"

namespace {

using zavuv::testing::ScratchFolder;

TEST(ZavuvProgram, EndsThroughItsUsualExitOnceTheWindowIsShownWhenAsked) {
    ScratchFolder folder;
    const std::string profile = folder.write("profile.ini", "[Connect]\nCOM=1\n");
    // The example project beside its Flash file, which it names relative to itself.
    const std::string project =
        folder.write("blink.kb2", ScratchFolder::read(ZAVUV_EXAMPLES "/blink.kb2"));
    folder.write("blink.hex", ScratchFolder::read(ZAVUV_EXAMPLES "/blink.hex"));
    // Without the variable the window would stay open: the guard then ends it
    // with exit code 124.
    const auto run =
        zavuv::testing::runProgram("/usr/bin/timeout", {"60", ZAVUV_GUI_PATH, project},
                                   {"QT_QPA_PLATFORM=offscreen", "ZAVUV_ANSWER_BOXES=1",
                                    "ZAVUV_EXIT_WHEN_SHOWN=1", "ZAVUV_PROFILE=" + profile});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err.find("message:"), std::string::npos) << run.err;
    // The moment of the paint, for a timing script, on a line of its own.
    EXPECT_TRUE(std::regex_search(run.err, std::regex("(^|\n)shown at: [1-9][0-9]* ns\n")))
        << run.err;
    // The window was set up with the project, and the exit wrote the recent list.
    const zavuv::workspace::ProfileStore written(profile);
    EXPECT_EQ(written.readString("Recent", "Project1", ""), project);
}

}  // namespace

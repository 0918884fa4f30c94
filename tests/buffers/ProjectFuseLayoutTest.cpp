// Project files name the layout their fuse bits are stored by; files written
// before a chip's fuse map was corrected have their bits carried over.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "buffers/MemoryBuffer.h"
#include "buffers/ProjectSettings.h"
#include "support/RecordingUserPort.h"
#include "support/ScratchFolder.h"
#include "text/UiText.h"

using namespace zavuv;
using namespace zavuv::buffers;
using zavuv::testing::RecordingUserPort;
using zavuv::testing::ScratchFolder;

namespace {

constexpr int kAt90Pwm1 = 9;
constexpr int kAt90Pwm1Layout = 43;

class ProjectFuseLayout : public ::testing::Test {
protected:
    void TearDown() override { text::setLanguage(text::Language::English); }

    std::string project(const std::string& body) {
        return scratch.write("p.kb2", "[Files]\nFlash=[Unspecified]\n" + body);
    }
    int programmedFuses() const {
        return static_cast<int>(
            std::count(settings.lockFuse.fuse.begin(), settings.lockFuse.fuse.end(), true));
    }

    ScratchFolder scratch;
    RecordingUserPort port;
    MemoryBuffer flash{false, port};
    MemoryBuffer eeprom{true, port};
    ProjectSettings settings{flash, eeprom, port};
};

}  // namespace

TEST_F(ProjectFuseLayout, BitsOfAnOldFileFollowTheirChipBitsAndAReviewIsAskedFor) {
    // AT90PWM1 as it was: PSC1RB (which it does not have) and PSC2RB at fuses 21 and 22,
    // SPIEN at 13, LB1 and a boot lock bit.
    const std::string path = project("[AutoProgram]\nLockMode=1\nFuse13=1\nFuse21=1\nFuse22=1\n"
                                     "BootLock2=1\n[Device]\nDeviceNo=9\n");
    ASSERT_TRUE(settings.loadProject(path));
    EXPECT_EQ(port.lastStatus(), "The fuse names of the AT90PWM1 have changed: review the lock "
                                 "and fuse bits of this project");
    EXPECT_TRUE(settings.lockFuse.fuse[13]);
    EXPECT_TRUE(settings.lockFuse.fuse[21]);  // PSC2RB now
    EXPECT_EQ(programmedFuses(), 2);
    EXPECT_TRUE(settings.lockFuse.bootLock[2]);
    EXPECT_EQ(settings.lockFuse.lockMode, 1);
    EXPECT_FALSE(settings.dirty);

    // Saved, the file says which layout the bits are stored by, and loads as it was saved.
    ASSERT_TRUE(settings.saveProject(path, nullptr));
    const std::string text = ScratchFolder::read(path);
    EXPECT_NE(text.find("Fuse21=1\nFuse22=0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("FuseLayout=43\n"), std::string::npos) << text;
    const std::string before = port.lastStatus();
    settings.lockFuse = {};
    ASSERT_TRUE(settings.loadProject(path));
    EXPECT_EQ(port.lastStatus(), before);  // nothing new said
    EXPECT_TRUE(settings.lockFuse.fuse[21]);
    EXPECT_EQ(programmedFuses(), 2);
    EXPECT_EQ(settings.fuseLayout, kAt90Pwm1Layout);
    EXPECT_EQ(settings.deviceNo, kAt90Pwm1);
}

TEST_F(ProjectFuseLayout, OldFilesOfUnchangedChipsLoadAsTheyAre) {
    ASSERT_TRUE(settings.loadProject(project("[AutoProgram]\nFuse3=1\n[Device]\nDeviceNo=12\n")));
    EXPECT_EQ(port.lastStatus(), "");
    EXPECT_TRUE(settings.lockFuse.fuse[3]);
    EXPECT_EQ(settings.fuseLayout, 12);
}

TEST_F(ProjectFuseLayout, TheReviewIsAskedForInRussianToo) {
    text::setLanguage(text::Language::Russian);
    ASSERT_TRUE(settings.loadProject(project("[Device]\nDeviceNo=25\n")));
    EXPECT_EQ(port.lastStatus(),
              "Названия fuse-битов ATmega640 изменились: проверьте Lock и fuse биты проекта");
}

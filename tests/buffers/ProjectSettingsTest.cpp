#include <gtest/gtest.h>

#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "buffers/IniFile.h"
#include "buffers/MemoryBuffer.h"
#include "buffers/ProjectKeys.h"
#include "buffers/ProjectSettings.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingUserPort.h"
#include "support/ScratchFolder.h"
#include "support/TextLines.h"

using namespace zavuv;
using namespace zavuv::buffers;
using zavuv::testing::RecordingUserPort;
using zavuv::testing::ScratchFolder;

namespace {

class CountingObserver : public ProjectObserver {
public:
    void projectTitleChanged() override { ++titles; }
    void projectOptionsChanged() override { ++options; }
    int titles = 0;
    int options = 0;
};

class ProjectFile : public ::testing::Test {
protected:
    std::string project(const std::string& text) { return scratch.write("p.kb2", text); }

    ScratchFolder scratch;
    RecordingUserPort port;
    MemoryBuffer flash{false, port};
    MemoryBuffer eeprom{true, port};
    ProjectSettings settings{flash, eeprom, port};
};

}  // namespace

TEST_F(ProjectFile, FreshStartHasTheConstructedDefaults) {
    EXPECT_EQ(settings.projectPath, "[Unspecified]");
    EXPECT_EQ(settings.deviceNo, 12);
    EXPECT_EQ(settings.resetStrobeLength, 20);
    EXPECT_EQ(settings.spiPeriod, 4);
    EXPECT_EQ(settings.delayByteValue, 15);
    EXPECT_EQ(settings.delayPageValue, 15);
    EXPECT_EQ(settings.delayByteValue2, 10);
    EXPECT_EQ(settings.delayPageValue2, 10);
    EXPECT_FALSE(settings.dirty);
}

TEST_F(ProjectFile, MissingKeysTakeTheirOwnDefaults) {
    settings.deviceNo = 3;
    settings.spiPeriod = 1;
    ASSERT_TRUE(settings.loadProject(project("[Files]\nFlash=[Unspecified]\n")));
    EXPECT_EQ(settings.deviceNo, 12);  // no Device section: ATmega8
    EXPECT_EQ(settings.resetStrobeLength, 400);
    EXPECT_EQ(settings.spiPeriod, 4);
    EXPECT_EQ(settings.delayByteValue, 0);
    EXPECT_EQ(settings.delayPageValue2, 0);
    EXPECT_FALSE(settings.dirty);
    EXPECT_EQ(settings.projectPath, scratch.file("p.kb2"));
    EXPECT_TRUE(port.messages().empty());
}

TEST_F(ProjectFile, ValuesAreReadAsTheProgramWroteThem) {
    ASSERT_TRUE(settings.loadProject(project("[files]\nflash=[Unspecified]\nFlashInvert=7\n"
                                             "[AutoProgram]\nLockMode=2abc\nFuse5=1\nFuse40=1\n"
                                             "BootLock15=1\nAutoIncAddress=-12\n"
                                             "[Settings]\nResetStrobeLength=100ms\nSPIPeriod=x\n"
                                             "[Device]\nDeviceNo=29\n")));
    EXPECT_TRUE(settings.flashInvert);  // any non-zero number
    EXPECT_EQ(settings.lockFuse.lockMode, 2);
    EXPECT_TRUE(settings.lockFuse.fuse[5]);
    EXPECT_EQ(std::count(settings.lockFuse.fuse.begin(), settings.lockFuse.fuse.end(), true), 1);
    EXPECT_TRUE(settings.lockFuse.bootLock[15]);
    EXPECT_EQ(settings.autoIncAddress, -12);
    EXPECT_EQ(settings.resetStrobeLength, 100);
    EXPECT_EQ(settings.spiPeriod, 4);  // no leading number: the missing-key default
    EXPECT_EQ(settings.deviceNo, 29);
}

TEST_F(ProjectFile, NotAProjectChangesNothing) {
    settings.deviceNo = 3;
    EXPECT_FALSE(settings.loadProject(scratch.file("none.kb2")));
    EXPECT_FALSE(settings.loadProject(project("[Settings]\nPolling=1\n")));
    ASSERT_EQ(port.messages().size(), 2u);
    EXPECT_EQ(port.messages()[1], "Error reading project file '" + scratch.file("p.kb2") + "'");
    EXPECT_EQ(port.events()[0].icon, base::MessageIcon::Error);
    EXPECT_EQ(settings.deviceNo, 3);
    EXPECT_FALSE(settings.polling);
    EXPECT_EQ(settings.projectPath, "[Unspecified]");
}

TEST_F(ProjectFile, AFlashKeyNamedLikeTheProbeStillCounts) {
    // The probe compares two reads of the key, not its value.
    ASSERT_TRUE(settings.loadProject(project("[Files]\nFlash=Test1\n")));
    EXPECT_EQ(port.lastStatus(), "The memory file " + scratch.file("Test1") +
                                     " is missing: the project keeps its name");
    EXPECT_EQ(flash.size(), 0u);
}

TEST_F(ProjectFile, UnknownDeviceNumberFallsBackToATmega8WithANote) {
    ASSERT_TRUE(
        settings.loadProject(project("[Files]\nFlash=[Unspecified]\n[Device]\nDeviceNo=77\n")));
    EXPECT_EQ(settings.deviceNo, 12);
    EXPECT_EQ(port.lastStatus(),
              "The project names device number 77, which is unknown; ATmega8 selected");
}

TEST_F(ProjectFile, LoadingBringsTheMemoryFilesAlong) {
    const std::string hex = scratch.write("a.hex", ":0400000001020304F2\n:00000001FF\n");
    const std::string eep = scratch.write("b.bin", std::string("\x11\x22\x33", 3));
    flash.create(10);
    ASSERT_TRUE(settings.loadProject(
        project("[Files]\nFlash=" + hex + "\nEeprom=" + eep + "\n[Settings]\n")));
    EXPECT_EQ(flash.size(), 4u);
    EXPECT_EQ(flash.data()[3], 0x04);
    EXPECT_EQ(eeprom.size(), 3u);
    EXPECT_FALSE(flash.modified());
    EXPECT_FALSE(settings.dirty);
}

TEST_F(ProjectFile, SaveWritesEveryKeyInFileOrder) {
    settings.deviceNo = 35;
    settings.lockFuse.fuse[31] = true;
    settings.delayPageValue2 = 123;
    const std::string path = scratch.file("new.kb2");
    ASSERT_TRUE(settings.saveProject(path, nullptr));

    const std::string text = zavuv::testing::unixLineEnds(ScratchFolder::read(path));
    EXPECT_EQ(text.substr(0, 50), "[Files]\nFlash=[Unspecified]\nEeprom=[Unspecified]\nF");
    // Settings and AutoProgram keys written later join their sections.
    EXPECT_LT(text.find("NoSynchronization=0\nResetStrobeLength=20\nSPIPeriod=4\n"),
              text.find("[AutoProgram]"));
    EXPECT_NE(text.find("BootLock15=0\nFuseLayout=1\nAllowLockout=0\nAutoIncAddressFlash="
                        "0\nAutoIncAddress=0\n\n"
                        "[Device]\nDeviceNo=35\n\n[Delays]\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Fuse31=1\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("DelayPageValue2=123\n"));

    MemoryBuffer otherFlash(false, port), otherEeprom(true, port);
    ProjectSettings other(otherFlash, otherEeprom, port);
    ASSERT_TRUE(other.loadProject(path));
    MemoryBuffer f(false, port), e(true, port);
    ProjectSettings mine(f, e, port);
    mine.deviceNo = 35;
    mine.fuseLayout = 1;  // the AT89S52's
    mine.lockFuse.fuse[31] = true;
    mine.delayPageValue2 = 123;
    auto a = projectKeys(other);
    auto b = projectKeys(mine);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i)
        EXPECT_EQ(projectKeyValue(a[i]), projectKeyValue(b[i])) << a[i].name;
}

TEST_F(ProjectFile, SavingAnotherUsersFileKeepsWhatTheProgramDoesNotOwn) {
    const std::string original =
        "; made by hand\r\n[Files]\r\nFlash=[Unspecified]\r\nNotes=keep me\r\n"
        "\r\n[Custom]\r\nX=1\r\n[Device]\r\nDeviceNo=0\r\n";
    const std::string path = project(original);
    ASSERT_TRUE(settings.loadProject(path));
    ASSERT_TRUE(settings.saveProject(path, nullptr));
    const std::string text = ScratchFolder::read(path);
    EXPECT_TRUE(
        text.starts_with("; made by hand\r\n[Files]\r\nFlash=[Unspecified]\r\nNotes=keep me\r\n"));
    EXPECT_NE(text.find("[Custom]\r\nX=1\r\n[Device]\r\nDeviceNo=0\r\n"), std::string::npos);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);  // CRLF stays CRLF

    // A second save over its own output changes nothing.
    ASSERT_TRUE(settings.saveProject(path, nullptr));
    EXPECT_EQ(ScratchFolder::read(path), text);
}

TEST_F(ProjectFile, SaveAsksForABufferFileAndWritesUnspecifiedWhenCancelled) {
    flash.create(4);  // read from a chip: no file yet
    eeprom.create(2);
    std::vector<bool> asked;
    const std::string eepPath = scratch.file("e.eep");
    const auto ask = [&](const MemoryBuffer& b) -> std::optional<std::string> {
        asked.push_back(b.isEeprom());
        if (b.isEeprom())
            return eepPath;
        return std::nullopt;
    };
    const std::string path = scratch.file("p.kb2");
    ASSERT_TRUE(settings.saveProject(path, ask));
    EXPECT_EQ(asked, (std::vector<bool>{false, true}));
    const std::string text = zavuv::testing::unixLineEnds(ScratchFolder::read(path));
    EXPECT_NE(text.find("Flash=[Unspecified]\n"), std::string::npos);
    EXPECT_NE(text.find("Eeprom=" + eepPath + "\n"), std::string::npos);
    EXPECT_EQ(ScratchFolder::read(eepPath), ":02000000FFFF00\r\n:00000001FF\r\n");
}

TEST_F(ProjectFile, AFailedSaveNamesTheFileAndWhyAndTheProjectStaysDirty) {
    ZAVUV_SKIP_WITHOUT_FILE_SIZE_LIMIT();
    settings.setDirty();
    std::filesystem::create_directory(scratch.file("dir.kb2"));
    EXPECT_FALSE(settings.saveProject(scratch.file("dir.kb2"), nullptr));
    EXPECT_EQ(port.messages(),
              std::vector<std::string>{"Cannot save file " + scratch.file("dir.kb2") +
                                       ": not a regular file"});
    EXPECT_TRUE(settings.dirty);
    {
        const zavuv::testing::FileSizeLimit fullDisk(16);
        EXPECT_FALSE(settings.saveProject(scratch.file("full.kb2"), nullptr));
    }
    EXPECT_EQ(port.messages().back(),
              "Cannot save file " + scratch.file("full.kb2") + ": File too large");
}

// The project and its files move together: relative names are the project
// folder's, and stay relative; a missing file keeps its name.
TEST_F(ProjectFile, MemoryFilesAreNamedFromTheProjectsFolder) {
    std::filesystem::create_directories(scratch.file("job/hex"));
    scratch.write("job/hex/a.hex", ":0400000001020304F2\n:00000001FF\n");
    const std::string job = scratch.write(
        "job/p.kb2", "[Files]\nFlash=hex/a.hex\nEeprom=gone.eep\n[Settings]\nPolling=0\n");
    ASSERT_TRUE(settings.loadProject(job));
    EXPECT_EQ(flash.size(), 4u);
    EXPECT_EQ(port.lastStatus(), "The memory file " + scratch.file("job/gone.eep") +
                                     " is missing: the project keeps its name");
    EXPECT_TRUE(port.messages().empty());

    ASSERT_TRUE(settings.saveProject(job, nullptr));
    IniFile saved = *IniFile::load(job);
    EXPECT_EQ(saved.readString("Files", "Flash", ""), "hex/a.hex");
    EXPECT_EQ(saved.readString("Files", "Eeprom", ""), "gone.eep");
    // Saved one folder up, the names follow the files.
    ASSERT_TRUE(settings.saveProject(scratch.file("up.kb2"), nullptr));
    saved = *IniFile::load(scratch.file("up.kb2"));
    EXPECT_EQ(saved.readString("Files", "Flash", ""), "job/hex/a.hex");
    EXPECT_EQ(saved.readString("Files", "Eeprom", ""), "job/gone.eep");
}

TEST_F(ProjectFile, AMemoryFileThatIsNoRegularFileIsRefused) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no FIFOs";
#else
    const std::string fifo = scratch.file("pipe.hex");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_TRUE(settings.loadProject(project("[Files]\nFlash=" + fifo + "\n")));
    EXPECT_EQ(port.messages(),
              std::vector<std::string>{fifo + " is not a regular file: it is not loaded"});
    EXPECT_EQ(flash.size(), 0u);
#endif
}

// A hand-edited project cannot make a run wait for days.
TEST_F(ProjectFile, DelaysOutsideTheDialogsRangesAreHeldToThemWithANote) {
    ASSERT_TRUE(settings.loadProject(
        project("[Files]\nFlash=[Unspecified]\n[Settings]\nResetStrobeLength=2000000000\n"
                "[Delays]\nDelayPage=1\nDelayPageValue=0\nDelayByteValue=-5\n")));
    EXPECT_EQ(settings.resetStrobeLength, 1000);
    EXPECT_EQ(settings.delayPageValue, 3);
    EXPECT_EQ(settings.delayByteValue, -5);  // its override is off: not used
    EXPECT_EQ(port.statuses(),
              (std::vector<std::string>{
                  "The project's ResetStrobeLength=2000000000 is out of range: 1000 ms is used",
                  "The project's DelayPageValue=0 is out of range: 3 ms is used"}));
}

TEST_F(ProjectFile, NewResetsTheJobButKeepsChipConnectionDelaysAndBuffers) {
    settings.deviceNo = 40;
    settings.resetStrobeLength = 500;
    settings.checkSign = settings.noSynchronization = settings.programFuseBeforeAll = true;
    settings.delayByte = true;
    settings.delayByteValue = 33;
    settings.autoErase = settings.autoIncrement = settings.programFuse = true;
    settings.flashInvert = settings.polling = true;
    settings.spiPeriod = 0;
    settings.autoIncAddress = 9;
    settings.lockFuse.lockMode = 2;
    settings.projectPath = "x.kb2";
    flash.create(8);
    CountingObserver observer;
    settings.setObserver(&observer);

    settings.newProject();
    EXPECT_EQ(settings.projectPath, "[Unspecified]");
    EXPECT_FALSE(settings.autoErase || settings.autoIncrement || settings.programFuse);
    EXPECT_FALSE(settings.flashInvert || settings.polling);
    EXPECT_EQ(settings.spiPeriod, 4);
    EXPECT_EQ(settings.autoIncAddress, 0);
    EXPECT_EQ(settings.lockFuse.lockMode, 0);
    EXPECT_EQ(settings.deviceNo, 40);
    EXPECT_EQ(settings.resetStrobeLength, 500);
    EXPECT_TRUE(settings.checkSign && settings.noSynchronization && settings.programFuseBeforeAll);
    EXPECT_TRUE(settings.delayByte);
    EXPECT_EQ(settings.delayByteValue, 33);
    EXPECT_EQ(flash.size(), 8u);
    EXPECT_EQ(observer.options, 1);
    settings.setObserver(nullptr);
}

TEST_F(ProjectFile, ReloadReadsTheFileAgain) {
    EXPECT_TRUE(settings.reloadProject());  // "[Unspecified]": just a reset
    const std::string path = project("[Files]\nFlash=[Unspecified]\n[Settings]\nPolling=1\n");
    ASSERT_TRUE(settings.loadProject(path));
    settings.polling = false;
    settings.autoErase = true;
    ASSERT_TRUE(settings.reloadProject());
    EXPECT_TRUE(settings.polling);
    EXPECT_FALSE(settings.autoErase);
    settings.projectPath.clear();
    EXPECT_FALSE(settings.reloadProject());
}

TEST_F(ProjectFile, DirtyFollowsTheBuffers) {
    CountingObserver observer;
    settings.setObserver(&observer);
    settings.projectPath = "job.kb2";
    EXPECT_EQ(settings.titleText(), "job.kb2 - Di-Vorore Rirorudura 11.15");

    flash.create(4);  // a modified buffer makes the project dirty, once
    flash.setByte(0, 1);
    EXPECT_TRUE(settings.dirty);
    EXPECT_EQ(observer.titles, 1);
    EXPECT_EQ(settings.titleText(), "job.kb2* - Di-Vorore Rirorudura 11.15");

    eeprom.create(2);
    ASSERT_TRUE(flash.saveAs(scratch.file("f.bin")));
    EXPECT_TRUE(settings.dirty);  // the EEPROM buffer is still modified
    ASSERT_TRUE(eeprom.saveAs(scratch.file("e.bin")));
    EXPECT_FALSE(settings.dirty);
    settings.setObserver(nullptr);
}

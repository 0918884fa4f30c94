#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>

#include "buffers/ElfImage.h"
#include "buffers/FileLimits.h"
#include "buffers/MemoryBuffer.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingUserPort.h"
#include "support/ScratchFolder.h"

using namespace zavuv;
using namespace zavuv::buffers;
using zavuv::testing::bytesOf;
using zavuv::testing::FileSizeLimit;
using zavuv::testing::RecordingUserPort;
using zavuv::testing::ScratchFolder;

namespace {

constexpr const char* kTitle = "Di-Vorore Rirorudura 11.15";

struct RecordingObserver : BufferObserver {
    void bufferRedraw(const MemoryBuffer&) override { calls.push_back("redraw"); }
    void captionChanged(const MemoryBuffer& b) override { captions.push_back(b.captionText()); }
    void bufferModified(const MemoryBuffer&) override { calls.push_back("modified"); }
    void bufferCleaned(const MemoryBuffer& b) override {
        calls.push_back(b.modified() ? "cleaned while modified" : "cleaned");
    }
    void refreshControls() override { calls.push_back("refresh"); }

    long count(const std::string& call) const { return std::ranges::count(calls, call); }

    std::vector<std::string> calls;
    std::vector<std::string> captions;
};

class MemoryBufferTest : public ::testing::Test {
protected:
    MemoryBufferTest() {
        flash.addObserver(observer);
        eeprom.addObserver(observer);
    }

    std::vector<std::uint8_t> contents(const MemoryBuffer& b) const {
        return {b.data().begin(), b.data().end()};
    }

    // A buffer with known, modified contents that a failed step must not touch.
    void fillFlash(std::size_t size) {
        flash.create(size);
        for (std::size_t i = 0; i < size; ++i)
            flash.mutableData()[i] = static_cast<std::uint8_t>(i * 7);
    }

    static AddressRequest answer(std::optional<long long> address) {
        return [address](int) { return address; };
    }

    RecordingUserPort port;
    ScratchFolder folder;
    RecordingObserver observer;
    MemoryBuffer flash{false, port};
    MemoryBuffer eeprom{true, port};
};

}  // namespace

TEST_F(MemoryBufferTest, StartsEmptyWithoutAFile) {
    EXPECT_EQ(flash.size(), 0u);
    EXPECT_EQ(flash.path(), "[Unspecified]");
    EXPECT_FALSE(flash.hasFilePath());
    EXPECT_EQ(flash.captionText(), "[Unspecified]");
    EXPECT_FALSE(flash.save());
    EXPECT_FALSE(flash.saveAs(folder.file("empty.bin")));
    EXPECT_TRUE(folder.entries().empty());
}

TEST_F(MemoryBufferTest, LoadsIntelHexCleanAndTellsTheProject) {
    fillFlash(4);
    observer.calls.clear();
    const auto path = folder.write("a.hex", ":10010000000102030405060708090A0B0C0D0E0F77\r\n"
                                            ":00000001FF\r\n");
    EXPECT_TRUE(flash.loadFile(path));
    EXPECT_EQ(flash.size(), 0x110u);
    EXPECT_EQ(flash.data()[0], 0xFF);
    EXPECT_EQ(flash.data()[0x101], 0x01);
    EXPECT_EQ(flash.path(), path);
    EXPECT_FALSE(flash.modified());
    EXPECT_EQ(flash.captionText(), path);
    // The 256 bytes below the record are fill that no record gave.
    EXPECT_EQ(std::ranges::count(flash.byteStates(), ByteState::Fill), 0x100);
    EXPECT_EQ(flash.dataByteCount(), 0x10u);
    EXPECT_EQ(observer.count("cleaned"), 1);
    EXPECT_EQ(observer.count("refresh"), 1);
    EXPECT_EQ(observer.captions.back(), path);
    EXPECT_TRUE(port.events().empty());
}

TEST_F(MemoryBufferTest, PadsOddFlashImagesButNotEeprom) {
    const auto three = folder.write("three.bin", "\x01\x02\x03");
    flash.loadFile(three);
    eeprom.loadFile(three);
    EXPECT_EQ(contents(flash), (std::vector<std::uint8_t>{1, 2, 3, 0xFF}));
    EXPECT_EQ(contents(eeprom), (std::vector<std::uint8_t>{1, 2, 3}));

    // ".BIN" in any case is binary, even when the text is HEX.
    eeprom.loadFile(folder.write("image.BIN", ":00000001FF\r\n"));
    EXPECT_EQ(contents(eeprom), bytesOf(":00000001FF\r\n"));
}

TEST_F(MemoryBufferTest, TakesByteForByteOnlyWhatNoFormatClaims) {
    std::mt19937 random(7);
    std::vector<std::uint8_t> noise(4001);
    for (auto& b : noise)
        b = static_cast<std::uint8_t>(random());
    // A binary dump that merely starts with ':' or 'S' is binary.
    noise[0] = ':';
    EXPECT_TRUE(flash.loadFile(folder.write("noise.dat", noise)));
    EXPECT_EQ(contents(flash).size(), noise.size() + 1);
    noise[0] = 'S';
    EXPECT_TRUE(eeprom.loadFile(folder.write("noise", noise)));
    EXPECT_EQ(contents(eeprom), noise);
    EXPECT_TRUE(port.events().empty());

    // A text format under a name that says nothing is read as what it is.
    eeprom.loadFile(folder.write("image.dat", "\xEF\xBB\xBF:0400000001020304F2\r\n\r\n"
                                              ":00000001FF \r\n"));
    EXPECT_EQ(contents(eeprom), (std::vector<std::uint8_t>{1, 2, 3, 4}));
    eeprom.loadFile(folder.write("image.txt", "S1060010010203E3\r\nS9030000FC\r\n"));
    EXPECT_EQ(contents(eeprom).size(), 0x13u);
    EXPECT_EQ(eeprom.data()[0x10], 1);
    EXPECT_TRUE(port.events().empty());
}

TEST_F(MemoryBufferTest, RefusesAFileThatNamesOrLooksLikeAFormatAndDoesNotDecode) {
    fillFlash(6);
    const auto before = contents(flash);
    struct Case {
        const char* name;
        std::string content;
        std::string message;
    };
    const Case cases[] = {
        {"cut.hex", ":0400000001020304F2\r\n", "Error in HEX file"},
        {"empty.eep", "", "Error in HEX file"},
        {"noise.ihx", ":\x01\x02 not a record", "Error in HEX file"},
        {"cut.dat", ":0400000001020304F2\r\n:10000000", "Error in HEX file"},
        {"elf.hex",
         "\x7F"
         "ELF\x01\x01\x01",
         "Error in HEX file"},
        {"cut.s19", "S1060010010203E3\r\n", "Error in S-record file (line 1)"},
        {"bad.txt", "S00600004844521B\r\nS1060010010203E3\r\nS1FF0010\r\n",
         "Error in S-record file (line 3)"},
        {"text.elf", ":00000001FF\r\n", "Error in ELF file: it is no ELF file"},
        {"dump",
         std::string("\x7F"
                     "ELF\x02\x01\x01",
                     7) +
             std::string(9, '\0'),
         "Error in ELF file: it is a 64-bit file; AVR programs are 32-bit files"},
    };
    for (const Case& c : cases) {
        // A build without an ELF reader refuses every ELF file with one reason.
        if (c.message.starts_with("Error in ELF file") && !zavuv::buffers::elfFilesReadable())
            continue;
        port.clearEvents();
        EXPECT_TRUE(flash.loadFile(folder.write(c.name, c.content))) << c.name;
        EXPECT_EQ(port.messages(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(contents(flash), before) << c.name;
        EXPECT_EQ(flash.path(), "[Unspecified]") << c.name;
    }
    // ".bin" is binary, whatever it holds.
    eeprom.loadFile(folder.write("image.BIN", ":00000001FF\r\n"));
    EXPECT_EQ(contents(eeprom), bytesOf(":00000001FF\r\n"));
}

TEST_F(MemoryBufferTest, AWrongChecksumIsAQuestionAndNoRefusesTheFile) {
    fillFlash(6);
    const auto before = contents(flash);
    const auto hex =
        folder.write("sum.hex", ":0400000001020304F0\r\n:020010000506E0\r\n:00000001FF\r\n");
    port.answerNext(base::Answer::No);
    EXPECT_TRUE(flash.loadFile(hex));
    EXPECT_EQ(contents(flash), before);
    ASSERT_EQ(port.events().size(), 1u) << "no message after the answer";
    EXPECT_EQ(port.events()[0].text, "If this file is in Intel HEX format, its control sum is "
                                     "invalid. Would you still like to load this file as HEX?");
    EXPECT_EQ(port.events()[0].buttons, base::QuestionButtons::YesNo);

    port.clearEvents();
    port.answerNext(base::Answer::Yes);
    flash.loadFile(hex);
    EXPECT_EQ(flash.size(), 0x12u);
    EXPECT_EQ(flash.data()[0x11], 6);

    port.clearEvents();
    port.answerNext(base::Answer::No);
    eeprom.loadFile(folder.write("sum.srec", "S1060010010203E0\r\nS9030000FC\r\n"));
    EXPECT_EQ(port.questions(),
              std::vector<std::string>{"The S-record file has a wrong checksum in line 1. Would "
                                       "you still like to load it?"});
    EXPECT_EQ(eeprom.size(), 0u);
}

TEST_F(MemoryBufferTest, EepromFilesOfAvrGccLandAtTheirOffsetInTheEepromBuffer) {
    // avr-objcopy's .eep: a linear base of 0x0081, so the bytes lie at 0x810010.
    const auto eep = folder.write("app.eep", ":02000004008179\r\n:03001000A55A01ED\r\n"
                                             ":00000001FF\r\n");
    eeprom.loadFile(eep);
    ASSERT_EQ(eeprom.size(), 0x13u);
    EXPECT_EQ(eeprom.data()[0x10], 0xA5);
    EXPECT_EQ(eeprom.data()[0x12], 0x01);
    eeprom.loadFile(folder.write("app.srec", "S205810010A5C4\r\nS804000000FB\r\n"));
    ASSERT_EQ(eeprom.size(), 0x11u);
    EXPECT_EQ(eeprom.data()[0x10], 0xA5);
}

TEST_F(MemoryBufferTest, KeepsTheBufferWhenAFileCannotBeLoaded) {
    fillFlash(6);
    const auto before = contents(flash);

    const auto missing = folder.file("missing.hex");
    EXPECT_TRUE(flash.loadFile(missing));
    const auto tooLong = folder.write("huge.hex", "");
    std::filesystem::resize_file(tooLong, kMaxInputFileSize + 1);
    EXPECT_TRUE(flash.loadFile(tooLong));
    const auto tooLargeImage = folder.write("huge.bin", "");
    std::filesystem::resize_file(tooLargeImage, kMaxImageSize + 1);
    EXPECT_TRUE(flash.loadFile(tooLargeImage));

    EXPECT_EQ(contents(flash), before);
    EXPECT_TRUE(flash.modified());
    EXPECT_EQ(flash.path(), "[Unspecified]");
    EXPECT_EQ(port.messages(), (std::vector<std::string>{"Cannot read file '" + missing + "'",
                                                         "Cannot load file", "Cannot load file"}));
    for (const auto& e : port.events()) {
        EXPECT_EQ(e.icon, base::MessageIcon::Error);
        EXPECT_EQ(e.caption, kTitle);
    }
}

TEST_F(MemoryBufferTest, SavesHexBinaryOrAsksByExtension) {
    flash.create(20);
    for (std::uint8_t i = 0; i < 20; ++i)
        flash.setByte(i, i);
    observer.calls.clear();

    ASSERT_TRUE(flash.saveAs(folder.file("a.hex")));
    EXPECT_EQ(ScratchFolder::read(folder.file("a.hex")),
              ":10000000000102030405060708090A0B0C0D0E0F78\r\n:0400100010111213A6\r\n"
              ":00000001FF\r\n");
    EXPECT_FALSE(flash.modified());
    EXPECT_EQ(flash.path(), folder.file("a.hex"));
    EXPECT_EQ(std::ranges::count(flash.byteStates(), ByteState::Saved), 20);
    EXPECT_EQ(observer.count("cleaned"), 1);

    ASSERT_TRUE(flash.saveAs(folder.file("image.BIN")));
    EXPECT_EQ(ScratchFolder::read(folder.file("image.BIN")).size(), 20u);

    const auto dat = folder.file("image.dat");
    port.answerNext(base::Answer::No);
    ASSERT_TRUE(flash.saveAs(dat));
    EXPECT_EQ(ScratchFolder::read(dat).size(), 20u);
    port.answerNext(base::Answer::Yes);
    ASSERT_TRUE(flash.save());
    EXPECT_TRUE(ScratchFolder::read(dat).starts_with(":10000000"));
    EXPECT_EQ(port.questions(), std::vector<std::string>(2, "Would you like to save '" + dat +
                                                                "' in Intel HEX format?"));
}

TEST_F(MemoryBufferTest, AFailedSaveKeepsFileAndBufferAsTheyWere) {
    ZAVUV_SKIP_WITHOUT_FILE_SIZE_LIMIT();
    const auto path = folder.write("image.bin", "old contents");
    flash.loadFile(path);
    flash.setByte(0, 'O');
    EXPECT_FALSE(flash.saveAs(folder.file("missing/image.bin")));
    {
        FileSizeLimit limit(4);
        EXPECT_FALSE(flash.save());
    }
    EXPECT_EQ(ScratchFolder::read(path), "old contents");
    EXPECT_TRUE(flash.modified());
    EXPECT_EQ(flash.path(), path);
    EXPECT_EQ(flash.byteStates()[0], ByteState::Loaded);
    // Each message names the file and the system's reason.
    EXPECT_EQ(port.messages(),
              (std::vector<std::string>{"Cannot save file " + folder.file("missing/image.bin") +
                                            ": No such file or directory",
                                        "Cannot save file " + path + ": File too large"}));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"image.bin"});
}

TEST_F(MemoryBufferTest, LargestDataFlashRoundTripsAsBinaryAndHex) {
    fillFlash(8650752);
    for (const char* name : {"big.bin", "big.hex"}) {
        ASSERT_TRUE(flash.saveAs(folder.file(name)));
        eeprom.clear();
        ASSERT_TRUE(eeprom.loadFile(folder.file(name)));
        EXPECT_TRUE(std::ranges::equal(eeprom.data(), flash.data())) << name;
    }
    EXPECT_TRUE(port.events().empty());
}

TEST_F(MemoryBufferTest, LoadAtAppendsFillsGapsAndAsksBeforeOverlapping) {
    const auto two = folder.write("two.bin", "\xAA\xBB");
    EXPECT_FALSE(flash.loadAt(two, [](int) -> std::optional<long long> {
        ADD_FAILURE() << "address asked for an empty buffer";
        return 0;
    }));

    fillFlash(4);
    int proposed = -1;
    EXPECT_TRUE(flash.loadAt(two, [&](int p) { return proposed = p, p; }));
    EXPECT_EQ(proposed, 4);
    EXPECT_EQ(contents(flash), (std::vector<std::uint8_t>{0, 7, 14, 21, 0xAA, 0xBB}));
    EXPECT_EQ(flash.path(), two);
    EXPECT_FALSE(flash.modified());

    EXPECT_TRUE(flash.loadAt(two, answer(9)));
    EXPECT_EQ(contents(flash), (std::vector<std::uint8_t>{0, 7, 14, 21, 0xAA, 0xBB, 0xFF, 0xFF,
                                                          0xFF, 0xAA, 0xBB, 0xFF}));
    EXPECT_TRUE(port.events().empty());

    port.answerNext(base::Answer::Yes);
    EXPECT_TRUE(flash.loadAt(two, answer(0)));
    EXPECT_EQ(flash.data()[0], 0xAA);
    EXPECT_EQ(port.questions(),
              std::vector<std::string>{"Warning: file will overlap exsisting and this operation "
                                       "may lost some data. Continue?"});
}

TEST_F(MemoryBufferTest, GapsStayFillUntilEditedAndSaveAsGapsOrAsErasedBytes) {
    // Three EEPROM bytes at 0x10 and two at 0x20, as avr-gcc places them.
    const auto hex = folder.write("part.eep", ":03001000A55A01ED\r\n"
                                              ":02002000BEEF31\r\n"
                                              ":00000001FF\r\n");
    eeprom.loadFile(hex);
    ASSERT_EQ(eeprom.size(), 0x22u);
    EXPECT_EQ(eeprom.dataByteCount(), 5u);
    EXPECT_EQ(eeprom.dataByteCount(0x20), 3u);
    EXPECT_FALSE(eeprom.holdsData(0x0F));
    EXPECT_TRUE(eeprom.holdsData(0x12));
    EXPECT_FALSE(eeprom.holdsDataIn(0x13, 0x0D));

    // Programming and verifying states pass the fill by.
    eeprom.setAllStates(ByteState::Programmed);
    EXPECT_EQ(std::ranges::count(eeprom.byteStates(), ByteState::Programmed), 5);
    eeprom.markData(0, ByteState::Verified);
    EXPECT_EQ(eeprom.byteStates()[0], ByteState::Fill);

    // HEX and S-record keep the gaps; binary writes them erased.
    ASSERT_TRUE(eeprom.saveAs(folder.file("copy.hex")));
    EXPECT_EQ(folder.read(folder.file("copy.hex")),
              ":03001000A55A01ED\r\n:02002000BEEF31\r\n:00000001FF\r\n");
    ASSERT_TRUE(eeprom.saveAs(folder.file("copy.srec")));
    MemoryBuffer again(true, port);
    again.loadFile(folder.file("copy.srec"));
    EXPECT_EQ(again.dataByteCount(), 5u);
    EXPECT_EQ(contents(again), contents(eeprom));
    ASSERT_TRUE(eeprom.saveAs(folder.file("copy.bin")));
    again.loadFile(folder.file("copy.bin"));
    EXPECT_EQ(again.dataByteCount(), 0x22u);
    EXPECT_EQ(contents(again), contents(eeprom));

    // An edit makes a fill byte data; Load At fills only the new gap.
    eeprom.setByte(0, 0x42);
    EXPECT_EQ(eeprom.dataByteCount(), 6u);
    EXPECT_TRUE(eeprom.loadAt(folder.write("two.bin", "\xAA\xBB"), answer(0x30)));
    EXPECT_EQ(eeprom.dataByteCount(), 8u);
    EXPECT_EQ(eeprom.dataByteCount(0x30), 6u);
}

TEST_F(MemoryBufferTest, LoadAtThatDoesNotMergeChangesNothing) {
    const auto two = folder.write("two.bin", "\xAA\xBB");
    fillFlash(4);
    const auto before = contents(flash);
    port.answerNext(base::Answer::No);
    EXPECT_TRUE(flash.loadAt(two, answer(2)));
    EXPECT_TRUE(flash.loadAt(two, answer(std::nullopt)));
    EXPECT_TRUE(flash.loadAt(two, answer(-1)));
    EXPECT_TRUE(flash.loadAt(two, answer(static_cast<long long>(kMaxImageSize) - 1)));
    EXPECT_TRUE(flash.loadAt(two, answer(static_cast<long long>(kMaxImageSize) - 2)));
    EXPECT_EQ(flash.size(), kMaxImageSize) << "the last merge just fits";
    EXPECT_TRUE(std::ranges::equal(flash.data().first(4), before));
    EXPECT_EQ(port.messages(), std::vector<std::string>(4, "Cannot load file"));
}

TEST_F(MemoryBufferTest, ReloadTakesTheFileAgain) {
    const auto path = folder.write("image.bin", "\x01\x02");
    flash.loadFile(path);
    flash.setByte(0, 9);
    EXPECT_TRUE(flash.reload());
    EXPECT_EQ(contents(flash), (std::vector<std::uint8_t>{1, 2}));
    EXPECT_FALSE(flash.modified());

    std::filesystem::remove(path);
    EXPECT_TRUE(flash.reload());
    EXPECT_EQ(flash.size(), 0u);
    EXPECT_EQ(flash.path(), path) << "kept for the next try";
    EXPECT_EQ(port.messages(), std::vector<std::string>{"Cannot read file '" + path + "'"});
}

TEST_F(MemoryBufferTest, ModifiedFlagCaptionAndChecksum) {
    flash.create(300);
    EXPECT_EQ(flash.checksum16(), 0x2AD4);
    EXPECT_EQ(std::ranges::count(flash.byteStates(), ByteState::Created), 300);
    EXPECT_EQ(flash.captionText(), "[Unspecified]*");
    EXPECT_EQ(observer.count("modified"), 1);
    EXPECT_EQ(observer.count("refresh"), 1);

    observer.captions.clear();
    flash.setByte(1, 0);
    flash.markModified();
    EXPECT_EQ(observer.count("modified"), 3) << "the project hears every change";
    EXPECT_TRUE(observer.captions.empty()) << "the caption changes only once";

    flash.clear();
    EXPECT_TRUE(flash.modified());
    EXPECT_EQ(flash.captionText(), "[Unspecified]");

    flash.removeObserver(observer);
    flash.markModified();
    EXPECT_EQ(observer.count("modified"), 3);
}

TEST_F(MemoryBufferTest, ToldWhenItsFileWasWrittenBySomeoneElseSinceItLoadedOrSavedIt) {
    const std::string path = folder.write("image.bin", std::vector<std::uint8_t>{1, 2, 3, 4});
    const auto touch = [&path] {
        std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) +
                                                   std::chrono::seconds(2));
    };
    EXPECT_FALSE(flash.fileChangedOnDisk());  // no file yet
    ASSERT_TRUE(flash.loadFile(path));
    EXPECT_FALSE(flash.fileChangedOnDisk());
    touch();
    EXPECT_TRUE(flash.fileChangedOnDisk());
    ASSERT_TRUE(flash.reload());
    EXPECT_FALSE(flash.fileChangedOnDisk());
    // Its own save is no change from outside.
    flash.setByte(0, 9);
    ASSERT_TRUE(flash.save());
    EXPECT_FALSE(flash.fileChangedOnDisk());
    touch();
    std::filesystem::remove(path);
    EXPECT_FALSE(flash.fileChangedOnDisk());  // gone: nothing to take
    flash.clear();
    EXPECT_FALSE(flash.fileChangedOnDisk());
}

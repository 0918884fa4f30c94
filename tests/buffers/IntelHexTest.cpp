#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "buffers/FileLimits.h"
#include "buffers/IntelHex.h"
#include "support/RecordingUserPort.h"
#include "support/ScratchFolder.h"

using namespace zavuv;
using namespace zavuv::buffers;
using zavuv::testing::bytesOf;
using zavuv::testing::RecordingUserPort;

namespace {

std::vector<std::uint8_t> randomImage(std::size_t size) {
    std::mt19937 random(static_cast<unsigned>(size));
    std::vector<std::uint8_t> image(size);
    for (auto& b : image)
        b = static_cast<std::uint8_t>(random());
    return image;
}

std::optional<std::vector<std::uint8_t>> read(std::string_view text, RecordingUserPort& port) {
    // Exactly as long as the text, so that a read past its end is a heap overflow
    // under AddressSanitizer.
    const auto bytes = bytesOf(text);
    return readIntelHex(bytes, port);
}

}  // namespace

TEST(IntelHexWriter, WritesRecordsOfSixteenBytesWithChecksums) {
    std::vector<std::uint8_t> image(20);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(writeIntelHex(image), ":10000000000102030405060708090A0B0C0D0E0F78\r\n"
                                    ":0400100010111213A6\r\n"
                                    ":00000001FF\r\n");
}

TEST(IntelHexWriter, MarksEverySegmentOfAnImageUpToOneMegabyte) {
    const std::vector<std::uint8_t> image(0x10000 + 16, 0xFF);
    const std::string hex = writeIntelHex(image);
    EXPECT_TRUE(hex.starts_with(":020000020000FC\r\n:10000000"));
    const std::size_t secondSegment = 17 + 4096 * 45;
    EXPECT_EQ(hex.substr(secondSegment, 17), ":020000021000EC\r\n");
    EXPECT_EQ(hex.substr(secondSegment + 17, 9), ":10000000");

    const std::string oneMegabyte = writeIntelHex(std::vector<std::uint8_t>(0x100000));
    EXPECT_NE(oneMegabyte.find(":02000002F0000C\r\n"), std::string::npos);
    EXPECT_EQ(oneMegabyte.find(":02000004"), std::string::npos);
}

TEST(IntelHexWriter, UsesLinearAddressesBeyondOneMegabyteAndReadsThemBack) {
    const auto image = randomImage(0x100000 + 16);
    const std::string hex = writeIntelHex(image);
    EXPECT_TRUE(hex.starts_with(":020000040000FA\r\n"));
    EXPECT_NE(hex.find("\r\n:020000040010EA\r\n:10000000"), std::string::npos);
    EXPECT_EQ(hex.find(":02000002"), std::string::npos);

    RecordingUserPort port;
    EXPECT_EQ(read(hex, port), image);
    EXPECT_TRUE(port.events().empty());
}

TEST(IntelHexWriter, LargestDataFlashRoundTrips) {
    const auto image = randomImage(8650752);
    RecordingUserPort port;
    EXPECT_EQ(read(writeIntelHex(image), port), image);
}

TEST(IntelHexReader, FillsUnwrittenBytesAndLoadsFromAddressZero) {
    RecordingUserPort port;
    const auto image = read(":10010000000102030405060708090A0B0C0D0E0F77\r\n:00000001FF\r\n", port);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->size(), 0x110u);
    EXPECT_EQ(std::count(image->begin(), image->begin() + 0x100, 0xFF), 0x100);
    EXPECT_EQ((*image)[0x10F], 0x0F);
}

TEST(IntelHexReader, ReadsLowerCaseAndLinesWithoutCarriageReturn) {
    RecordingUserPort port;
    const auto image = read(":0400000001020304f2\n:00000001ff\n", port);
    EXPECT_EQ(image, (std::vector<std::uint8_t>{1, 2, 3, 4}));
}

TEST(IntelHexReader, FailsSilentlyOnTextThatIsNoHexFile) {
    RecordingUserPort port;
    EXPECT_FALSE(read(":0400000001020304F2\r\n", port)) << "no end-of-file record";
    EXPECT_FALSE(read(":0400000001020304F2\r\n\r\n:00000001FF\r\n", port)) << "blank line";
    EXPECT_FALSE(read(" :00000001FF\r\n", port)) << "leading space";
    EXPECT_FALSE(read("", port));
    EXPECT_TRUE(port.events().empty());
}

TEST(IntelHexReader, AcceptsEndRecordWithoutLineFeed) {
    RecordingUserPort port;
    EXPECT_EQ(read(":00000001FF", port), std::vector<std::uint8_t>{});
    EXPECT_EQ(read(":020010000506E3\r\n:00000001FF", port)->size(), 0x12u);
    EXPECT_FALSE(read(":00000001F", port)) << "checksum cut off";
}

TEST(IntelHexReader, LinearAndSegmentBasesReplaceEachOther) {
    RecordingUserPort port;
    const auto image = read(":020000021000EC\r\n"
                            ":020000040002F8\r\n"
                            ":01000500AB4F\r\n"
                            ":020000021000EC\r\n"
                            ":01000300CD2F\r\n"
                            ":00000001FF\r\n",
                            port);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->size(), 0x20006u);
    EXPECT_EQ((*image)[0x20005], 0xAB);
    EXPECT_EQ((*image)[0x10003], 0xCD);
}

TEST(IntelHexReader, ReadsRecordsOfUpTo255Bytes) {
    RecordingUserPort port;
    std::string ones = ":FF000000";
    for (int i = 0; i < 255; ++i)
        ones += "01";
    const auto image = read(ones + "02\r\n:00000001FF\r\n", port);
    EXPECT_EQ(image, std::vector<std::uint8_t>(255, 1));
}

TEST(IntelHexReader, NeverReadsARecordBeyondItsLineOrTheFile) {
    RecordingUserPort port;
    // The byte count promises 16 bytes; the next line must not supply them.
    EXPECT_FALSE(read(":1000000000000000000000000000000000\r\n"
                      ":00000001FF\r\n00000000000000000000",
                      port));
    EXPECT_FALSE(read(":1000000000000000", port));
    EXPECT_FALSE(read(":1", port));
    EXPECT_FALSE(read(":", port));
    EXPECT_TRUE(port.events().empty());
}

TEST(IntelHexReader, ReportsBrokenRecordsAndDataBeyondTheImageLimit) {
    RecordingUserPort port;
    EXPECT_FALSE(read(":1G000000\r\n:00000001FF\r\n", port));
    EXPECT_FALSE(read(":01000000ZZ00\r\n:00000001FF\r\n", port));
    EXPECT_FALSE(read(":0100000400FF\r\n:00000001FF\r\n", port)) << "one-byte base";
    EXPECT_FALSE(read(":0200000400FFFB\r\n:10FFF80000000000000000000000000000000000F9\r\n"
                      ":00000001FF\r\n",
                      port));
    ASSERT_EQ(port.messages().size(), 4u);
    for (const auto& e : port.events()) {
        EXPECT_EQ(e.text, "Error in HEX file");
        EXPECT_EQ(e.icon, base::MessageIcon::Error);
        EXPECT_EQ(e.caption, "Di-Vorore Rirorudura 11.15");
    }

    const auto full = read(":0200000400FFFB\r\n:10FFF0000000000000000000000000000000000001\r\n"
                           ":00000001FF\r\n",
                           port);
    ASSERT_TRUE(full);
    EXPECT_EQ(full->size(), kMaxImageSize);
}

TEST(IntelHexReader, AsksOnceAboutWrongChecksums) {
    const std::string text = ":0400000001020304F0\r\n:020010000506E0\r\n:00000001FF\r\n";
    RecordingUserPort yes;
    yes.answerNext(base::Answer::Yes);
    EXPECT_EQ(read(text, yes)->size(), 0x12u);
    ASSERT_EQ(yes.questions().size(), 1u);
    const auto question = yes.events().front();
    EXPECT_EQ(question.text, "If this file is in Intel HEX format, its control sum is invalid. "
                             "Would you still like to load this file as HEX?");
    EXPECT_EQ(question.icon, base::MessageIcon::Question);
    EXPECT_EQ(question.buttons, base::QuestionButtons::YesNo);

    RecordingUserPort no;
    no.answerNext(base::Answer::No);
    EXPECT_FALSE(read(text, no));
}

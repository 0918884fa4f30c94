#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "buffers/FileLimits.h"
#include "buffers/IntelHex.h"
#include "support/ScratchFolder.h"

using namespace zavuv;
using namespace zavuv::buffers;
using zavuv::testing::bytesOf;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes randomImage(std::size_t size) {
    std::mt19937 random(static_cast<unsigned>(size));
    Bytes image(size);
    for (auto& b : image)
        b = static_cast<std::uint8_t>(random());
    return image;
}

std::variant<ImageSegments, HexError> read(std::string_view text,
                                           ChecksumPolicy checksums = ChecksumPolicy::Check) {
    // Exactly as long as the text, so that a read past its end is a heap overflow
    // under AddressSanitizer.
    const auto bytes = bytesOf(text);
    return readIntelHex(bytes, {kMaxImageSize, checksums});
}

// The image from address 0 with 0xFF in the gaps; nothing for an error.
std::optional<Bytes> flat(std::string_view text) {
    auto result = read(text);
    if (const auto* image = std::get_if<ImageSegments>(&result))
        return flatten(*image, 0xFF);
    return std::nullopt;
}

HexError errorOf(std::string_view text, ChecksumPolicy checksums = ChecksumPolicy::Check) {
    auto result = read(text, checksums);
    if (const auto* error = std::get_if<HexError>(&result))
        return *error;
    ADD_FAILURE() << "read without an error: " << text;
    return {};
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

    EXPECT_EQ(flat(hex), image);
}

TEST(IntelHexWriter, LargestDataFlashRoundTrips) {
    const auto image = randomImage(8650752);
    EXPECT_EQ(flat(writeIntelHex(image)), image);
}

TEST(IntelHexWriter, LeavesGapsOutAndMarksBanksWhereRecordsLie) {
    // A boot loader at 0x1F000 and bytes that do not start on a record boundary.
    const ImageSegments image{{0x05, {1, 2, 3}}, {0x1F000, Bytes(20, 0xAB)}};
    const std::string hex = writeIntelHex(image);
    // The image reaches past 64 KB: bank 0 is named as well.
    EXPECT_EQ(hex, ":020000020000FC\r\n"
                   ":03000500010203F2\r\n"
                   ":020000021000EC\r\n"
                   ":10F00000ABABABABABABABABABABABABABABABAB50\r\n"
                   ":04F01000ABABABAB50\r\n"
                   ":00000001FF\r\n");
    EXPECT_EQ(std::get<ImageSegments>(read(hex)), image);
    // The first record already lies in bank 0, which needs no record below 64 KB.
    EXPECT_EQ(writeIntelHex(ImageSegments{{0x30, {0x55}}}), ":01003000557A\r\n:00000001FF\r\n");
}

TEST(IntelHexReader, KeepsGapsAndReadsLowerCase) {
    const auto image = read(":10010000000102030405060708090A0B0C0D0E0F77\r\n"
                            ":0400200001020304d2\n:00000001ff\n");
    ASSERT_TRUE(std::holds_alternative<ImageSegments>(image));
    Bytes first(16);
    std::iota(first.begin(), first.end(), 0);
    EXPECT_EQ(std::get<ImageSegments>(image),
              (ImageSegments{{0x20, {1, 2, 3, 4}}, {0x100, first}}));
}

TEST(IntelHexReader, AcceptsByteOrderMarkBlankLinesAndTrailingSpace) {
    EXPECT_EQ(flat("\xEF\xBB\xBF:0400000001020304F2 \t\r\n\r\n  \n:00000001FF\r\n\r\n"),
              (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(flat(":00000001FF"), Bytes{}) << "end record without line feed";
    EXPECT_EQ(flat(":020010000506E3\r\n:00000001FF")->size(), 0x12u);
    EXPECT_EQ(flat(":00000001FF\r\nanything after the end"), Bytes{});
}

TEST(IntelHexReader, NamesWhatIsWrongAndWhere) {
    struct Case {
        const char* text;
        HexError error;
    };
    const Case cases[] = {
        {":0400000001020304F2\r\n", {HexProblem::MissingEnd, 1}},
        {"", {HexProblem::MissingEnd, 0}},
        {":0400000001020304F2\r\n x\r\n:00000001FF\r\n", {HexProblem::NotARecord, 2}},
        {":1G000000\r\n:00000001FF\r\n", {HexProblem::BadHexDigit, 1}},
        {":01000000ZZ00\r\n:00000001FF\r\n", {HexProblem::BadHexDigit, 1}},
        {":00000001F", {HexProblem::CountPastLine, 1}},
        {":0400000001020304F2FF\r\n:00000001FF\r\n", {HexProblem::TrailingText, 1}},
        {":0100000400FF\r\n:00000001FF\r\n", {HexProblem::WrongLength, 1}},
        {":0100000001FE\r\n:0100000002FD\r\n:00000001FF\r\n", {HexProblem::Overlap, 2}},
        // A wrong checksum is named only when nothing else is wrong.
        {":0100000001FF\r\n:0100000001FF\r\n:1G\r\n", {HexProblem::BadHexDigit, 3}},
        {":0400000001020304F0\r\n:020010000506E0\r\n:00000001FF\r\n",
         {HexProblem::WrongChecksum, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorOf(c.text), c.error) << c.text;
    EXPECT_EQ(flat(":0100000001FE\r\n:0100000001FE\r\n:00000001FF\r\n"), Bytes{1})
        << "a repeated record";
    auto accepted =
        read(":0400000001020304F0\r\n:020010000506E0\r\n:00000001FF\r\n", ChecksumPolicy::Accept);
    EXPECT_EQ(std::get<ImageSegments>(accepted),
              (ImageSegments{{0, {1, 2, 3, 4}}, {0x10, {5, 6}}}));
}

TEST(IntelHexReader, LinearAndSegmentBasesReplaceEachOther) {
    const auto image = read(":020000021000EC\r\n"
                            ":020000040002F8\r\n"
                            ":01000500AB4F\r\n"
                            ":020000021000EC\r\n"
                            ":01000300CD2F\r\n"
                            ":00000001FF\r\n");
    EXPECT_EQ(std::get<ImageSegments>(image),
              (ImageSegments{{0x10003, {0xCD}}, {0x20005, {0xAB}}}));
}

TEST(IntelHexReader, ReadsRecordsOfUpTo255Bytes) {
    std::string ones = ":FF000000";
    for (int i = 0; i < 255; ++i)
        ones += "01";
    EXPECT_EQ(flat(ones + "02\r\n:00000001FF\r\n"), Bytes(255, 1));
}

TEST(IntelHexReader, NeverReadsARecordBeyondItsLineOrTheFile) {
    // The byte count promises 16 bytes; the next line must not supply them.
    EXPECT_EQ(errorOf(":1000000000000000000000000000000000\r\n"
                      ":00000001FF\r\n00000000000000000000")
                  .problem,
              HexProblem::CountPastLine);
    EXPECT_EQ(errorOf(":1000000000000000").problem, HexProblem::CountPastLine);
    EXPECT_EQ(errorOf(":1").problem, HexProblem::CountPastLine);
    EXPECT_EQ(errorOf(":").problem, HexProblem::CountPastLine);
}

TEST(IntelHexReader, RefusesDataBeyondTheImageLimit) {
    EXPECT_EQ(errorOf(":0200000400FFFB\r\n:10FFF80000000000000000000000000000000000F9\r\n"
                      ":00000001FF\r\n"),
              (HexError{HexProblem::BeyondLimit, 2}));
    const auto full = flat(":0200000400FFFB\r\n:10FFF0000000000000000000000000000000000001\r\n"
                           ":00000001FF\r\n");
    ASSERT_TRUE(full);
    EXPECT_EQ(full->size(), kMaxImageSize);
}

TEST(IntelHexSniffer, KnowsAFileByItsFirstCompleteRecord) {
    EXPECT_TRUE(looksLikeIntelHex(bytesOf(":0400000001020304F2\r\n")));
    EXPECT_TRUE(looksLikeIntelHex(bytesOf("\xEF\xBB\xBF\r\n:0400000001020304F0\r\n")))
        << "a wrong checksum is the reader's business";
    EXPECT_TRUE(looksLikeIntelHex(bytesOf(":00000001FF")));
    EXPECT_FALSE(looksLikeIntelHex(bytesOf(":\x01\x02\x03 binary dump")));
    EXPECT_FALSE(looksLikeIntelHex(bytesOf(":04000000010203\r\n")));
    EXPECT_FALSE(looksLikeIntelHex(bytesOf("S00600004844521B\r\n")));
    EXPECT_FALSE(looksLikeIntelHex(bytesOf("")));
}

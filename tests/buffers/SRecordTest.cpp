#include <gtest/gtest.h>

#include <random>
#include <string>
#include <variant>

#include "buffers/FileLimits.h"
#include "buffers/SRecord.h"
#include "support/RandomBytes.h"
#include "support/ScratchFolder.h"

using namespace zavuv::buffers;
using zavuv::testing::bytesOf;

using zavuv::testing::randomBytes;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Result = std::variant<SRecordImage, SRecordError>;

Result readText(std::string_view text, ChecksumPolicy checksums = ChecksumPolicy::Check,
                std::uint64_t limit = kMaxImageSize) {
    // Exactly as long as the text, so that a read past its end is a heap
    // overflow under AddressSanitizer.
    const auto bytes = bytesOf(text);
    return readSRecord(bytes, {limit, checksums});
}

ImageSegments segmentsOf(const Result& result) {
    if (const auto* error = std::get_if<SRecordError>(&result)) {
        ADD_FAILURE() << "refused: problem " << static_cast<int>(error->problem) << " at line "
                      << error->line;
        return {};
    }
    return std::get<SRecordImage>(result).segments;
}

SRecordError errorOf(const Result& result) {
    if (const auto* error = std::get_if<SRecordError>(&result))
        return *error;
    ADD_FAILURE() << "read although it should not";
    return {};
}

// A record of the type with these address and data bytes, count and checksum
// worked out here rather than by the writer under test.
std::string record(char type, const Bytes& fields) {
    const auto count = static_cast<unsigned>(fields.size() + 1);
    unsigned sum = count;
    std::string text = "S";
    text += type;
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", count);
    text += digits;
    for (auto b : fields) {
        std::snprintf(digits, sizeof digits, "%02X", b);
        text += digits;
        sum += b;
    }
    std::snprintf(digits, sizeof digits, "%02X", ~sum & 0xFF);
    return text + digits + "\n";
}

}  // namespace

TEST(SRecordWriter, WritesHeaderAlignedRecordsCountAndEnd) {
    Bytes data(19);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i + 1);
    const ImageSegments image = {
        {0x0D, {0xAA, 0xBB, 0xCC}}, {0x20, {0x11, 0x12, 0x13}}, {0x40, data}};
    const Bytes header = bytesOf("hi");
    EXPECT_EQ(writeSRecord(image, header), "S0050000686929\r\n"
                                           "S106000DAABBCCBB\r\n"
                                           "S1060020111213A3\r\n"
                                           "S11300400102030405060708090A0B0C0D0E0F1024\r\n"
                                           "S106005011121373\r\n"
                                           "S5030004F8\r\n"
                                           "S9030000FC\r\n");
    EXPECT_EQ(segmentsOf(readText(writeSRecord(image, header))), image);
}

TEST(SRecordWriter, PicksTheNarrowestAddressThatHoldsTheWholeImage) {
    struct Case {
        std::uint32_t lastByte;
        const char* data;
        const char* end;
    };
    for (const Case& c :
         {Case{0xFFFF, "S1", "S9030000FC"}, Case{0x10000, "S2", "S804000000FB"},
          Case{0xFFFFFF, "S2", "S804000000FB"}, Case{0x1000000, "S3", "S70500000000FA"},
          Case{0xFFFFFFFF, "S3", "S70500000000FA"}}) {
        const ImageSegments image = {{0, {1}}, {c.lastByte, {2}}};
        const std::string text = writeSRecord(image, {});
        SCOPED_TRACE(c.lastByte);
        EXPECT_EQ(text.substr(12, 2), c.data) << "the line after the empty header";
        EXPECT_TRUE(text.ends_with(std::string(c.end) + "\r\n"));
        EXPECT_EQ(segmentsOf(readText(text, ChecksumPolicy::Check, 0x100000000)), image);
    }
    EXPECT_EQ(writeSRecord({}, {}), "S0030000FC\r\nS5030000FC\r\nS9030000FC\r\n");
}

TEST(SRecordWriter, CutsAHeaderToOneRecordAndCountsBeyondSixteenBits) {
    const Bytes longHeader(300, 'x');
    const auto text = writeSRecord({}, longHeader);
    const auto image = std::get<SRecordImage>(readText(text));
    EXPECT_EQ(image.header, Bytes(252, 'x'));

    // 65,537 records need the 24-bit count.
    const ImageSegments large = {{0, randomBytes(65537 * 16, 7)}};
    const auto largeText = writeSRecord(large, {});
    EXPECT_NE(largeText.find("\r\nS604010001F9\r\nS804000000FB\r\n"), std::string::npos);
    EXPECT_EQ(segmentsOf(readText(largeText)), large);
}

TEST(SRecordWriter, ScatteredImagesReadBackSegmentForSegment) {
    std::mt19937 random(42);
    for (int round = 0; round < 20; ++round) {
        ImageSegments image;
        std::uint64_t address = random() % 64;
        const std::uint64_t step = round < 7 ? 0x100 : round < 14 ? 0x100000 : 0x10000000;
        while (image.size() < 6) {
            const std::size_t size = 1 + random() % 100;
            if (address + size > 0x100000000)
                break;
            image.push_back({static_cast<std::uint32_t>(address), randomBytes(size, random())});
            address += size + 1 + random() % step;
        }
        SCOPED_TRACE(round);
        EXPECT_EQ(segmentsOf(readText(writeSRecord(image, {}), ChecksumPolicy::Check, 0x100000000)),
                  image);
    }
}

TEST(SRecordReader, TakesEveryLineEndBomTrailingSpaceAndBlankLine) {
    const std::string body = "S00600004844521B\r\n"
                             "\r\n"
                             "S1070010a1b2c3d4fe \t\r\n"
                             "   \n"
                             "S5030001FB\n"
                             "S9030000FC";
    const auto result = readText("\xEF\xBB\xBF" + body);
    EXPECT_EQ(segmentsOf(result), (ImageSegments{{0x10, {0xA1, 0xB2, 0xC3, 0xD4}}}));
    EXPECT_EQ(std::get<SRecordImage>(result).header, bytesOf("HDR"));
}

TEST(SRecordReader, EndsWithAnEndRecordOfAnyWidthOrWithACount) {
    const std::string data = record('1', {0x00, 0x00, 0x42});
    for (const std::string end : {"S9030000FC\n", "S804000000FB\n", "S70500000000FA\n",
                                  // srec_cat without a start address
                                  "S5030001FB\n", "S5030001FB\n\n"}) {
        SCOPED_TRACE(end);
        EXPECT_EQ(segmentsOf(readText(data + end)), (ImageSegments{{0, {0x42}}}));
    }
    EXPECT_EQ(segmentsOf(readText(record('2', {0x01, 0x00, 0x00, 0x42}) +
                                  record('6', {0x00, 0x00, 0x01}) + "S804000000FB\n")),
              (ImageSegments{{0x10000, {0x42}}}));
}

TEST(SRecordReader, NamesEachDefectAndItsLine) {
    const std::string ok = record('1', {0x00, 0x00, 0x01, 0x02});
    const std::string end = "S9030000FC\n";
    struct Case {
        std::string text;
        SRecordProblem problem;
        std::size_t line;
    };
    const std::vector<Case> cases = {
        {ok + "X1030000FC\n" + end, SRecordProblem::NotARecord, 2},
        {ok + "S\n" + end, SRecordProblem::NotARecord, 2},
        {" " + ok + end, SRecordProblem::NotARecord, 1},
        {ok + "s9030000FC\n", SRecordProblem::NotARecord, 2},
        {record('4', {0, 0}) + end, SRecordProblem::ReservedType, 1},
        {"S1\n" + end, SRecordProblem::CountPastLine, 1},
        {"S1130000010203\n" + end, SRecordProblem::CountPastLine, 1},
        {"S1FF0000\n" + end, SRecordProblem::CountPastLine, 1},
        {"S1G50000010223\n" + end, SRecordProblem::BadHexDigit, 1},
        {"S1050000 10223\n" + end, SRecordProblem::BadHexDigit, 1},
        {ok.substr(0, ok.size() - 1) + "00\n" + end, SRecordProblem::TrailingText, 1},
        {ok.substr(0, ok.size() - 1) + " ;\n" + end, SRecordProblem::TrailingText, 1},
        {"S1020000\n" + end, SRecordProblem::WrongLength, 1},
        {ok + record('9', {0, 0, 0x55}), SRecordProblem::WrongLength, 2},
        {ok + record('5', {0, 1, 0}) + end, SRecordProblem::WrongLength, 2},
        {record('1', {0xFF, 0xFF, 1, 2}) + end, SRecordProblem::AddressWrap, 1},
        {record('2', {0xFF, 0xFF, 0xFF, 1, 2}) + end, SRecordProblem::AddressWrap, 1},
        {record('3', {0xFF, 0xFF, 0xFF, 0xFF, 1, 2}) + end, SRecordProblem::AddressWrap, 1},
        {ok + record('1', {0x00, 0x01, 0x22}) + end, SRecordProblem::Overlap, 2},
        {ok + record('5', {0x00, 0x02}) + end, SRecordProblem::WrongRecordCount, 2},
        {ok + end + ok, SRecordProblem::RecordAfterEnd, 3},
        {ok + end + end, SRecordProblem::RecordAfterEnd, 3},
        {ok + ok, SRecordProblem::MissingEnd, 2},
        {ok + record('5', {0x00, 0x01}) + ok, SRecordProblem::MissingEnd, 3},
        {ok + "\n\n", SRecordProblem::MissingEnd, 3},
        {"", SRecordProblem::MissingEnd, 0},
        {"\xEF\xBB\xBF", SRecordProblem::MissingEnd, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(errorOf(readText(c.text)), (SRecordError{c.problem, c.line}));
        EXPECT_EQ(errorOf(readText(c.text, ChecksumPolicy::Accept)),
                  (SRecordError{c.problem, c.line}));
    }
}

TEST(SRecordReader, RepeatedBytesAreNoOverlapAndRecordsMayComeInAnyOrder) {
    const auto result = readText(record('1', {0x00, 0x10, 3, 4}) + record('1', {0x00, 0x0E, 1, 2}) +
                                 record('1', {0x00, 0x0F, 2, 3}) + "S9030000FC\n");
    EXPECT_EQ(segmentsOf(result), (ImageSegments{{0x0E, {1, 2, 3, 4}}}));
}

TEST(SRecordReader, WrongChecksumIsAskedAboutOnlyWhenNothingElseIsWrong) {
    const std::string good = record('1', {0x00, 0x00, 0x01});
    const std::string bad1 = "S104000001F7\n";  // the checksum should be FA
    const std::string bad2 = "S104000102F0\n";
    const std::string text = good + bad1 + bad2 + "S9030000FC\n";
    EXPECT_EQ(errorOf(readText(text)), (SRecordError{SRecordProblem::WrongChecksum, 2}));
    EXPECT_EQ(segmentsOf(readText(text, ChecksumPolicy::Accept)), (ImageSegments{{0, {1, 2}}}));

    // A defect further down is the answer, not the question.
    EXPECT_EQ(errorOf(readText(good + bad1)), (SRecordError{SRecordProblem::MissingEnd, 2}));
    EXPECT_EQ(errorOf(readText(bad1 + "S9030000FC\nS9030000FC\n")),
              (SRecordError{SRecordProblem::RecordAfterEnd, 3}));
    EXPECT_EQ(errorOf(readText("S9030000FD\n")), (SRecordError{SRecordProblem::WrongChecksum, 1}))
        << "an end record's checksum counts too";
}

TEST(SRecordReader, RefusesDataAtOrBeyondTheCallersLimit) {
    const std::string text =
        record('1', {0x00, 0x00, 1}) + record('2', {0x81, 0x00, 0x0E, 2, 3}) + "S804000000FB\n";
    EXPECT_EQ(segmentsOf(readText(text, ChecksumPolicy::Check, 0x810010)),
              (ImageSegments{{0, {1}}, {0x81000E, {2, 3}}}));
    EXPECT_EQ(errorOf(readText(text, ChecksumPolicy::Check, 0x81000F)),
              (SRecordError{SRecordProblem::BeyondLimit, 2}));
    // A record without data holds no byte beyond it.
    EXPECT_TRUE(segmentsOf(readText(record('1', {0xFF, 0x00}) + "S9030000FC\n",
                                    ChecksumPolicy::Check, 0x100))
                    .empty());
}

TEST(SRecordReader, KeepsTheFirstHeaderOnly) {
    const auto result =
        readText(record('0', {0, 0, 'a'}) + record('0', {0, 0, 'b'}) + "S9030000FC\n");
    EXPECT_EQ(std::get<SRecordImage>(result).header, bytesOf("a"));
    EXPECT_TRUE(std::get<SRecordImage>(readText("S9030000FC\n")).header.empty());
}

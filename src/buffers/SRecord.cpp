#include "buffers/SRecord.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "buffers/HexDigits.h"
#include "buffers/SegmentBuilder.h"
#include "buffers/TextLines.h"

namespace zavuv::buffers {

namespace {

enum class Kind { Header, Data, Count, End, Reserved };

// What the type digit after the 'S' says: the record's kind and how many bytes
// its address (or count, or start address) field takes.
struct RecordType {
    Kind kind;
    std::size_t addressBytes;
};

constexpr std::array<RecordType, 10> kRecordTypes = {{
    {Kind::Header, 2},  // S0
    {Kind::Data, 2},    // S1
    {Kind::Data, 3},    // S2
    {Kind::Data, 4},    // S3
    {Kind::Reserved, 0},
    {Kind::Count, 2},  // S5
    {Kind::Count, 3},  // S6
    {Kind::End, 4},    // S7, after S3 data
    {Kind::End, 3},    // S8, after S2 data
    {Kind::End, 2},    // S9, after S1 data
}};

constexpr char kFirstDataType = '1';
constexpr char kCount16Type = '5';
constexpr char kCount24Type = '6';
constexpr char kEnd16Type = '9';
constexpr char kHeaderType = '0';

// One record holds at most 255 bytes after its count, the checksum included.
constexpr std::size_t kMaxCount = 255;
constexpr std::size_t kBytesPerRecord = 16;

struct Record {
    RecordType type{};
    std::size_t count = 0;
    std::array<std::uint8_t, 1 + kMaxCount> bytes{};  // the count, then `count` bytes

    std::uint32_t address() const {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < type.addressBytes; ++i)
            value = value << 8 | bytes[1 + i];
        return value;
    }
    std::span<const std::uint8_t> data() const {
        return {bytes.data() + 1 + type.addressBytes, count - type.addressBytes - 1};
    }
    // The checksum is the ones' complement of the sum of the other bytes.
    bool checksumValid() const {
        std::uint8_t sum = 0;
        for (std::size_t i = 0; i <= count; ++i)
            sum = static_cast<std::uint8_t>(sum + bytes[i]);
        return sum == 0xFF;
    }
};

// Decodes a line without its line end and trailing white space.
std::optional<SRecordProblem> decodeRecord(std::span<const std::uint8_t> line, Record& record) {
    if (line.size() < 2 || line[0] != 'S' || line[1] < '0' || line[1] > '9')
        return SRecordProblem::NotARecord;
    record.type = kRecordTypes[line[1] - '0'];
    if (record.type.kind == Kind::Reserved)
        return SRecordProblem::ReservedType;
    if (line.size() < 4)
        return SRecordProblem::CountPastLine;
    const int count = hexPairValue(line[2], line[3]);
    if (count < 0)
        return SRecordProblem::BadHexDigit;
    const std::size_t digits = 4 + 2 * static_cast<std::size_t>(count);
    if (line.size() < digits)
        return SRecordProblem::CountPastLine;
    if (line.size() > digits)
        return SRecordProblem::TrailingText;
    record.count = static_cast<std::size_t>(count);
    record.bytes[0] = static_cast<std::uint8_t>(count);
    for (std::size_t i = 1; i <= record.count; ++i) {
        const int value = hexPairValue(line[2 * i + 2], line[2 * i + 3]);
        if (value < 0)
            return SRecordProblem::BadHexDigit;
        record.bytes[i] = static_cast<std::uint8_t>(value);
    }
    const std::size_t fieldsOnly = record.type.addressBytes + 1;
    if (record.count < fieldsOnly)
        return SRecordProblem::WrongLength;
    const bool carriesNoData = record.type.kind == Kind::Count || record.type.kind == Kind::End;
    if (carriesNoData && record.count != fieldsOnly)
        return SRecordProblem::WrongLength;
    return std::nullopt;
}

}  // namespace

std::variant<SRecordImage, SRecordError> readSRecord(std::span<const std::uint8_t> text,
                                                     const SRecordReadOptions& options) {
    text = withoutBom(text);

    SRecordImage image;
    SegmentBuilder data;
    Record record;
    bool haveHeader = false;
    bool ended = false;
    std::optional<Kind> lastKind;
    std::size_t dataRecords = 0;
    std::size_t lineNumber = 0;
    std::size_t firstWrongChecksum = 0;
    while (!text.empty()) {
        const auto line = takeLine(text);
        ++lineNumber;
        if (line.empty())
            continue;

        const auto fail = [&](SRecordProblem problem) { return SRecordError{problem, lineNumber}; };
        if (ended)
            return fail(SRecordProblem::RecordAfterEnd);
        if (const auto problem = decodeRecord(line, record))
            return fail(*problem);
        // Go on: a defect further down outranks a checksum, which the person may
        // choose to accept.
        if (firstWrongChecksum == 0 && !record.checksumValid())
            firstWrongChecksum = lineNumber;

        switch (record.type.kind) {
        case Kind::Header:
            if (!haveHeader)
                image.header.assign(record.data().begin(), record.data().end());
            haveHeader = true;
            break;
        case Kind::Data: {
            const std::uint64_t start = record.address();
            const std::uint64_t end = start + record.data().size();
            if (end > std::uint64_t{1} << (8 * record.type.addressBytes))
                return fail(SRecordProblem::AddressWrap);
            if (end > options.addressLimit && !record.data().empty())
                return fail(SRecordProblem::BeyondLimit);
            data.add(record.address(), record.data(), lineNumber);
            ++dataRecords;
            break;
        }
        case Kind::Count:
            if (record.address() != dataRecords)
                return fail(SRecordProblem::WrongRecordCount);
            break;
        case Kind::End:
            ended = true;
            break;
        case Kind::Reserved:
            break;  // refused while decoding
        }
        lastKind = record.type.kind;
    }
    if (!ended && lastKind != Kind::Count)
        return SRecordError{SRecordProblem::MissingEnd, lineNumber};

    auto segments = data.finish();
    if (const auto* conflict = std::get_if<SegmentBuilder::Conflict>(&segments))
        return SRecordError{SRecordProblem::Overlap, conflict->origin};
    if (firstWrongChecksum != 0 && options.checksums == ChecksumPolicy::Check)
        return SRecordError{SRecordProblem::WrongChecksum, firstWrongChecksum};
    image.segments = std::move(std::get<ImageSegments>(segments));
    return image;
}

bool looksLikeSRecord(std::span<const std::uint8_t> text) {
    Record record;
    return !decodeRecord(firstTextLine(text), record).has_value();
}

namespace {

void appendRecord(std::string& out, char type, std::uint32_t address,
                  std::span<const std::uint8_t> data) {
    const std::size_t addressBytes =
        kRecordTypes[static_cast<std::size_t>(type - '0')].addressBytes;
    const auto count = static_cast<std::uint8_t>(addressBytes + data.size() + 1);
    std::uint8_t sum = 0;
    auto put = [&](std::uint8_t byte) {
        appendHexByte(out, byte);
        sum = static_cast<std::uint8_t>(sum + byte);
    };
    out.push_back('S');
    out.push_back(type);
    put(count);
    for (std::size_t i = addressBytes; i-- > 0;)
        put(static_cast<std::uint8_t>(address >> (8 * i)));
    for (auto b : data)
        put(b);
    appendHexByte(out, static_cast<std::uint8_t>(~sum));
    out += "\r\n";
}

}  // namespace

std::string writeSRecord(const ImageSegments& image, std::span<const std::uint8_t> header) {
    const std::uint64_t end = endAddress(image);
    const std::size_t addressBytes = end <= 0x10000 ? 2 : end <= 0x1000000 ? 3 : 4;
    const auto widthStep = static_cast<char>(addressBytes - 2);
    std::string out;
    // A full data record: 'S', type, count, address, 16 bytes, checksum, CR LF.
    const std::size_t fullRecord = 2 + 2 * (1 + addressBytes + kBytesPerRecord + 1) + 2;
    out.reserve((dataByteCount(image) / kBytesPerRecord + image.size() + 4) * fullRecord);

    const std::size_t headerRoom = kMaxCount - kRecordTypes[kHeaderType - '0'].addressBytes - 1;
    appendRecord(out, kHeaderType, 0, header.first(std::min(header.size(), headerRoom)));
    std::size_t records = 0;
    for (const auto& segment : image) {
        const std::span<const std::uint8_t> bytes(segment.bytes);
        std::size_t offset = 0;
        while (offset < bytes.size()) {
            const std::uint64_t address = segment.address + offset;
            // Records end at 16-byte boundaries, so that addresses line up.
            const std::size_t room = kBytesPerRecord - address % kBytesPerRecord;
            const std::size_t take = std::min(room, bytes.size() - offset);
            appendRecord(out, static_cast<char>(kFirstDataType + widthStep),
                         static_cast<std::uint32_t>(address), bytes.subspan(offset, take));
            offset += take;
            ++records;
        }
    }
    if (records <= 0xFFFF)
        appendRecord(out, kCount16Type, static_cast<std::uint32_t>(records), {});
    else if (records <= 0xFFFFFF)
        appendRecord(out, kCount24Type, static_cast<std::uint32_t>(records), {});
    appendRecord(out, static_cast<char>(kEnd16Type - widthStep), 0, {});
    return out;
}

}  // namespace zavuv::buffers

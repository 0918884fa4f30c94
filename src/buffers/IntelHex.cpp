#include "buffers/IntelHex.h"

#include <algorithm>
#include <array>
#include <optional>

#include "buffers/HexDigits.h"
#include "buffers/SegmentBuilder.h"
#include "buffers/TextLines.h"

namespace zavuv::buffers {

namespace {

enum class RecordType : std::uint8_t {
    Data = 0x00,
    EndOfFile = 0x01,
    ExtendedSegmentAddress = 0x02,
    ExtendedLinearAddress = 0x04,
};

// Type 02 bases reach only 1 MB; a larger image needs type 04 records.
constexpr std::uint64_t kSegmentAddressReach = 0x100000;
constexpr std::size_t kBytesPerRecord = 16;
constexpr std::uint64_t kBytesPerBank = 0x10000;
// Count, two address bytes, type and checksum around the data.
constexpr std::size_t kFrameBytes = 5;

// A record's bytes: count, address high, address low, type, data, checksum.
struct Record {
    std::array<std::uint8_t, 255 + kFrameBytes> bytes{};

    std::size_t count() const { return bytes[0]; }
    std::size_t address() const { return std::size_t{bytes[1]} << 8 | bytes[2]; }
    RecordType type() const { return static_cast<RecordType>(bytes[3]); }
    std::span<const std::uint8_t> data() const { return {bytes.data() + 4, count()}; }
    std::uint64_t dataWord() const { return std::uint64_t{bytes[4]} << 8 | bytes[5]; }
    bool checksumValid() const {
        std::uint8_t sum = 0;
        for (std::size_t i = 0; i < count() + kFrameBytes; ++i)
            sum = static_cast<std::uint8_t>(sum + bytes[i]);
        return sum == 0;
    }
};

// Decodes a line without its line end and trailing white space.
std::optional<HexProblem> decodeRecord(std::span<const std::uint8_t> line, Record& record) {
    if (line.empty() || line[0] != ':')
        return HexProblem::NotARecord;
    const auto digits = line.subspan(1);
    if (digits.size() < 2)
        return HexProblem::CountPastLine;
    const int count = hexPairValue(digits[0], digits[1]);
    if (count < 0)
        return HexProblem::BadHexDigit;
    const std::size_t length = static_cast<std::size_t>(count) + kFrameBytes;
    for (std::size_t i = 0; i < length; ++i) {
        if (2 * i + 1 >= digits.size())
            return HexProblem::CountPastLine;
        const int value = hexPairValue(digits[2 * i], digits[2 * i + 1]);
        if (value < 0)
            return HexProblem::BadHexDigit;
        record.bytes[i] = static_cast<std::uint8_t>(value);
    }
    if (digits.size() != 2 * length)
        return HexProblem::TrailingText;
    return std::nullopt;
}

}  // namespace

std::variant<ImageSegments, HexError> readIntelHex(std::span<const std::uint8_t> text,
                                                   const HexReadOptions& options) {
    text = withoutBom(text);
    SegmentBuilder data;
    Record record;
    std::uint64_t base = 0;  // from the last type 02 or type 04 record
    std::size_t lineNumber = 0;
    std::size_t firstWrongChecksum = 0;
    bool ended = false;
    while (!text.empty() && !ended) {
        const auto line = takeLine(text);
        ++lineNumber;
        if (line.empty())
            continue;
        const auto fail = [&](HexProblem problem) { return HexError{problem, lineNumber}; };
        if (const auto problem = decodeRecord(line, record))
            return fail(*problem);
        // Go on: a defect further down outranks a checksum, which the person may
        // choose to accept.
        if (firstWrongChecksum == 0 && !record.checksumValid())
            firstWrongChecksum = lineNumber;

        switch (record.type()) {
        case RecordType::EndOfFile:
            ended = true;
            break;
        case RecordType::ExtendedSegmentAddress:
        case RecordType::ExtendedLinearAddress:
            if (record.count() != 2)
                return fail(HexProblem::WrongLength);
            base = record.type() == RecordType::ExtendedSegmentAddress ? record.dataWord() << 4
                                                                       : record.dataWord() << 16;
            break;
        case RecordType::Data: {
            const std::uint64_t start = base + record.address();
            if (start + record.count() > options.addressLimit && record.count() != 0)
                return fail(HexProblem::BeyondLimit);
            data.add(static_cast<std::uint32_t>(start), record.data(), lineNumber);
            break;
        }
        default:
            break;  // start addresses and unknown types carry nothing for the image
        }
    }
    if (!ended)
        return HexError{HexProblem::MissingEnd, lineNumber};
    auto segments = data.finish();
    if (const auto* conflict = std::get_if<SegmentBuilder::Conflict>(&segments))
        return HexError{HexProblem::Overlap, conflict->origin};
    if (firstWrongChecksum != 0 && options.checksums == ChecksumPolicy::Check)
        return HexError{HexProblem::WrongChecksum, firstWrongChecksum};
    return std::get<ImageSegments>(std::move(segments));
}

bool looksLikeIntelHex(std::span<const std::uint8_t> text) {
    Record record;
    return !decodeRecord(firstTextLine(text), record).has_value();
}

namespace {

void appendRecord(std::string& out, RecordType type, std::uint64_t address,
                  std::span<const std::uint8_t> data) {
    std::uint8_t sum = 0;
    auto put = [&](std::uint8_t byte) {
        appendHexByte(out, byte);
        sum = static_cast<std::uint8_t>(sum + byte);
    };
    out.push_back(':');
    put(static_cast<std::uint8_t>(data.size()));
    put(static_cast<std::uint8_t>(address >> 8));
    put(static_cast<std::uint8_t>(address));
    put(static_cast<std::uint8_t>(type));
    for (auto b : data)
        put(b);
    put(static_cast<std::uint8_t>(-sum));
    out += "\r\n";
}

void appendBankRecord(std::string& out, bool linear, std::uint64_t bank) {
    const std::uint64_t value = linear ? bank : bank << 12;
    const std::array<std::uint8_t, 2> word = {static_cast<std::uint8_t>(value >> 8),
                                              static_cast<std::uint8_t>(value)};
    appendRecord(out,
                 linear ? RecordType::ExtendedLinearAddress : RecordType::ExtendedSegmentAddress, 0,
                 word);
}

}  // namespace

std::string writeIntelHex(const ImageSegments& image) {
    const std::uint64_t end = endAddress(image);
    const bool linear = end > kSegmentAddressReach;
    // A full data record is 45 characters, a bank record 17, the end record 13.
    std::string out;
    out.reserve((dataByteCount(image) / kBytesPerRecord + image.size()) * 45 +
                (end / kBytesPerBank + 1) * 17 + 13);
    // Bank 0 needs no record, unless the image reaches past it.
    std::uint64_t bank = 0;
    bool bankWritten = end < kBytesPerBank;
    for (const auto& segment : image) {
        const std::span<const std::uint8_t> bytes(segment.bytes);
        for (std::size_t offset = 0; offset < bytes.size();) {
            const std::uint64_t address = segment.address + offset;
            const std::size_t take =
                std::min(kBytesPerRecord - address % kBytesPerRecord, bytes.size() - offset);
            if (!bankWritten || address / kBytesPerBank != bank) {
                bank = address / kBytesPerBank;
                appendBankRecord(out, linear, bank);
                bankWritten = true;
            }
            appendRecord(out, RecordType::Data, address % kBytesPerBank,
                         bytes.subspan(offset, take));
            offset += take;
        }
    }
    out += ":00000001FF\r\n";
    return out;
}

std::string writeIntelHex(std::span<const std::uint8_t> image) {
    if (image.empty())
        return writeIntelHex(ImageSegments{});
    return writeIntelHex(ImageSegments{{0, {image.begin(), image.end()}}});
}

}  // namespace zavuv::buffers

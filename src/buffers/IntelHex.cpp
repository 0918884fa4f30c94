#include "buffers/IntelHex.h"

#include <algorithm>
#include <array>

#include "buffers/FileLimits.h"
#include "text/UiText.h"

namespace zavuv::buffers {

namespace {

enum class RecordType : std::uint8_t {
    Data = 0x00,
    EndOfFile = 0x01,
    ExtendedSegmentAddress = 0x02,
    ExtendedLinearAddress = 0x04,
};

// Type 02 bases reach only 1 MB; a larger image needs type 04 records.
constexpr std::size_t kSegmentAddressReach = 0x100000;
constexpr std::size_t kBytesPerRecord = 16;
constexpr std::size_t kBytesPerBank = 0x10000;

// A record's bytes: count, address high, address low, type, data, checksum.
struct Record {
    std::vector<std::uint8_t> bytes;

    std::size_t count() const { return bytes[0]; }
    std::size_t address() const { return std::size_t{bytes[1]} << 8 | bytes[2]; }
    RecordType type() const { return static_cast<RecordType>(bytes[3]); }
    std::span<const std::uint8_t> data() const { return {bytes.data() + 4, count()}; }
    std::size_t dataWord() const { return std::size_t{bytes[4]} << 8 | bytes[5]; }
    bool checksumValid() const {
        std::uint8_t sum = 0;
        for (auto b : bytes)
            sum = static_cast<std::uint8_t>(sum + b);
        return sum == 0;
    }
};

enum class Decoded { Ok, TooShort, NotHex };

int hexValue(std::uint8_t c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Decodes the pairs of hex digits from the start of the line (the characters
// after the colon, without the line feed). Characters after the checksum, such
// as a carriage return, are not looked at.
Decoded decodeRecord(std::span<const std::uint8_t> line, Record& record) {
    auto pairAt = [&](std::size_t i) {
        const int high = hexValue(line[2 * i]);
        const int low = hexValue(line[2 * i + 1]);
        return high < 0 || low < 0 ? -1 : high << 4 | low;
    };
    if (line.size() < 2)
        return Decoded::TooShort;
    const int count = pairAt(0);
    if (count < 0)
        return Decoded::NotHex;
    const std::size_t length = static_cast<std::size_t>(count) + 5;
    if (line.size() < 2 * length)
        return Decoded::TooShort;
    record.bytes.resize(length);
    for (std::size_t i = 0; i < length; ++i) {
        const int value = pairAt(i);
        if (value < 0)
            return Decoded::NotHex;
        record.bytes[i] = static_cast<std::uint8_t>(value);
    }
    return Decoded::Ok;
}

void reportHexError(base::UserPort& port) {
    port.showMessage(text::GetUiText(text::Msg::ErrorInHexFile), base::MessageIcon::Error,
                     text::GetUiText(text::Msg::ProgramTitle));
}

bool acceptWrongChecksum(base::UserPort& port) {
    return port.ask(text::GetUiText(text::Msg::HexChecksumQuestion), base::QuestionButtons::YesNo,
                    base::MessageIcon::Question, base::Answer::Yes,
                    text::GetUiText(text::Msg::ProgramTitle)) == base::Answer::Yes;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> readIntelHex(std::span<const std::uint8_t> text,
                                                      base::UserPort& port) {
    std::vector<std::uint8_t> image;
    Record record;
    std::uint64_t base = 0;  // from the last type 02 or type 04 record, which replace each other
    bool checkSums = true;
    auto next = text.begin();
    for (;;) {
        // Ends a file without an end-of-file record too, and rejects blank lines.
        if (next == text.end() || *next != ':')
            return std::nullopt;
        const auto lineEnd = std::find(next + 1, text.end(), '\n');
        const std::span<const std::uint8_t> line(next + 1, lineEnd);
        next = lineEnd == text.end() ? lineEnd : lineEnd + 1;

        switch (decodeRecord(line, record)) {
        case Decoded::TooShort:
            return std::nullopt;
        case Decoded::NotHex:
            reportHexError(port);
            return std::nullopt;
        case Decoded::Ok:
            break;
        }

        switch (record.type()) {
        case RecordType::EndOfFile:
            return image;
        case RecordType::ExtendedSegmentAddress:
        case RecordType::ExtendedLinearAddress:
            if (record.count() != 2) {
                reportHexError(port);
                return std::nullopt;
            }
            base = record.type() == RecordType::ExtendedSegmentAddress
                       ? std::uint64_t{record.dataWord()} << 4
                       : std::uint64_t{record.dataWord()} << 16;
            break;
        case RecordType::Data: {
            const std::uint64_t start = base + record.address();
            const std::uint64_t end = start + record.count();
            if (end > kMaxImageSize) {
                reportHexError(port);
                return std::nullopt;
            }
            if (end > image.size())
                image.resize(static_cast<std::size_t>(end), 0xFF);
            std::ranges::copy(record.data(), image.begin() + static_cast<std::ptrdiff_t>(start));
            if (checkSums && !record.checksumValid()) {
                if (!acceptWrongChecksum(port))
                    return std::nullopt;
                checkSums = false;
            }
            break;
        }
        default:
            break;  // start addresses and unknown types carry nothing for the image
        }
    }
}

namespace {

constexpr std::array<char, 16> kHexDigits = {'0', '1', '2', '3', '4', '5', '6', '7',
                                             '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};

void appendRecord(std::string& out, RecordType type, std::size_t address,
                  std::span<const std::uint8_t> data) {
    std::uint8_t sum = 0;
    auto put = [&](std::uint8_t byte) {
        out.push_back(kHexDigits[byte >> 4]);
        out.push_back(kHexDigits[byte & 0x0F]);
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

void appendBankRecord(std::string& out, RecordType type, std::size_t baseValue) {
    const std::array<std::uint8_t, 2> word = {static_cast<std::uint8_t>(baseValue >> 8),
                                              static_cast<std::uint8_t>(baseValue)};
    appendRecord(out, type, 0, word);
}

}  // namespace

std::string writeIntelHex(std::span<const std::uint8_t> image) {
    const bool linear = image.size() > kSegmentAddressReach;
    // A full data record is 45 characters, a bank record 17, the end record 13.
    const std::size_t records = (image.size() + kBytesPerRecord - 1) / kBytesPerRecord;
    const std::size_t banks = (image.size() + kBytesPerBank - 1) / kBytesPerBank;
    std::string out;
    out.reserve(records * 45 + banks * 17 + 13);
    for (std::size_t i = 0; i < image.size(); i += kBytesPerRecord) {
        if (i % kBytesPerBank == 0) {
            const std::size_t bank = i / kBytesPerBank;
            if (linear)
                appendBankRecord(out, RecordType::ExtendedLinearAddress, bank);
            else if (i > 0 || image.size() >= kBytesPerBank)
                appendBankRecord(out, RecordType::ExtendedSegmentAddress, bank << 12);
        }
        const auto data = image.subspan(i, std::min(kBytesPerRecord, image.size() - i));
        appendRecord(out, RecordType::Data, i % kBytesPerBank, data);
    }
    out += ":00000001FF\r\n";
    return out;
}

}  // namespace zavuv::buffers

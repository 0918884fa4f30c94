#pragma once
// Intel HEX text to a sparse image and back.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "buffers/ChecksumPolicy.h"
#include "buffers/ImageSegments.h"

namespace zavuv::buffers {

// What is wrong with an Intel HEX file, at a line.
enum class HexProblem {
    NotARecord,     // a line that is neither blank nor starts with ':'
    BadHexDigit,    // a character that is no hex digit where one belongs
    CountPastLine,  // the count asks for more characters than the line holds
    TrailingText,   // characters after the checksum other than white space
    WrongLength,    // an address record (type 02, 04) without exactly two data bytes
    BeyondLimit,    // data at or above the caller's limit
    Overlap,        // an address given a value different from an earlier record's
    MissingEnd,     // cut short: no end-of-file record
    // Only when nothing else is wrong, so that the caller can ask whether to
    // load the file anyway and then read it with ChecksumPolicy::Accept.
    WrongChecksum,
};

struct HexError {
    HexProblem problem = HexProblem::NotARecord;
    std::size_t line = 0;  // from 1; for WrongChecksum the first wrong one
    bool operator==(const HexError&) const = default;
};

struct HexReadOptions {
    std::uint64_t addressLimit = 0;  // no data byte at or above this address
    ChecksumPolicy checksums = ChecksumPolicy::Check;
};

// Reads data (00), end-of-file (01), extended segment (02) and extended linear
// (04) address records, whose bases replace each other; other types carry
// nothing for the image. Lines end in LF or CR LF; a UTF-8 byte order mark,
// trailing white space and blank lines are accepted. A record that repeats
// earlier bytes is accepted. Nothing after the end-of-file record is read.
std::variant<ImageSegments, HexError> readIntelHex(std::span<const std::uint8_t> text,
                                                   const HexReadOptions& options);

// Whether the first line that is not blank (after a byte order mark) is a
// complete Intel HEX record: a binary file that merely starts with ':' is not.
bool looksLikeIntelHex(std::span<const std::uint8_t> text);

// The image as Intel HEX text, CR LF after every line: data records of up to
// 16 bytes that end at 16-byte boundaries, gaps left out. Images that end
// within 1 MB use extended segment address records (type 02), larger ones
// extended linear address records (type 04), written before the first record
// when the image reaches 64 KB and wherever a record lies in another 64 KB bank.
std::string writeIntelHex(const ImageSegments& image);
// A whole image from address 0.
std::string writeIntelHex(std::span<const std::uint8_t> image);

}  // namespace zavuv::buffers

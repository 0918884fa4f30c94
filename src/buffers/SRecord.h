#pragma once
// Motorola S-record text to a sparse image and back.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "buffers/ChecksumPolicy.h"
#include "buffers/ImageSegments.h"

namespace zavuv::buffers {

// What is wrong with an S-record file, at a line.
enum class SRecordProblem {
    NotARecord,        // a line that does not start with 'S' and a type digit
    ReservedType,      // S4, which no tool writes
    BadHexDigit,       // a character that is no hex digit where one belongs
    CountPastLine,     // the count asks for more characters than the line holds
    TrailingText,      // characters after the checksum other than white space
    WrongLength,       // too short for its address, or a count or end record with data
    AddressWrap,       // data running past the top of its record's address width
    BeyondLimit,       // data at or above the caller's limit
    Overlap,           // an address given a value different from an earlier record's
    WrongRecordCount,  // an S5/S6 count differs from the data records before it
    RecordAfterEnd,    // a record after the S7/S8/S9 end record
    MissingEnd,        // cut short: no end record, and the last record is no count
    // Only when nothing else is wrong, so that the caller can ask whether to
    // load the file anyway and then read it with ChecksumPolicy::Accept.
    WrongChecksum,
};

struct SRecordError {
    SRecordProblem problem = SRecordProblem::NotARecord;
    // From 1; for MissingEnd the last line, for WrongChecksum the first wrong one.
    std::size_t line = 0;
    bool operator==(const SRecordError&) const = default;
};

struct SRecordReadOptions {
    // No data byte at or above this address.
    std::uint64_t addressLimit = 0;
    ChecksumPolicy checksums = ChecksumPolicy::Check;
};

struct SRecordImage {
    ImageSegments segments;
    // The data of the first S0 record (usually a name), empty without one.
    std::vector<std::uint8_t> header;
};

// Reads S0 (header), S1/S2/S3 (data with 16/24/32-bit addresses), S5/S6 (record
// counts, checked) and S7/S8/S9 (end) records. Lines end in LF or CR LF; a UTF-8
// byte order mark, trailing white space and blank lines are accepted. A record
// that repeats earlier bytes is accepted. A file ends with its end record or,
// as srec_cat writes one without a start address, with a count record.
std::variant<SRecordImage, SRecordError> readSRecord(std::span<const std::uint8_t> text,
                                                     const SRecordReadOptions& options);

// Whether the first line that is not blank (after a byte order mark) is a
// complete S-record (any type but the reserved S4), whatever its checksum.
bool looksLikeSRecord(std::span<const std::uint8_t> text);

// The image as S-records, CR LF after every line: an S0 header (cut to the 252
// bytes one record holds), data records of up to 16 bytes that do not cross a
// 16-byte boundary (S1 when every address fits 16 bits, S2 for 24 bits, S3
// otherwise), an S5 or S6 count, and the matching S9/S8/S7 end record with start
// address 0. Gaps stay gaps.
std::string writeSRecord(const ImageSegments& image, std::span<const std::uint8_t> header);

}  // namespace zavuv::buffers

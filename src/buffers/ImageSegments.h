#pragma once
// A sparse memory image: the runs of bytes a file gives, each at its address.
// Files such as S-record and ELF describe only the bytes they carry; keeping the
// gaps apart lets the caller tell data from fill.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zavuv::buffers {

struct ImageSegment {
    std::uint32_t address = 0;
    std::vector<std::uint8_t> bytes;

    // One past the last byte; may be 2^32 for a run that ends at the top.
    std::uint64_t end() const { return std::uint64_t{address} + bytes.size(); }
    bool operator==(const ImageSegment&) const = default;
};

// Sorted by address, never empty runs, no two overlapping or touching: a run
// that ends where the next begins is one segment. SegmentBuilder makes them so.
using ImageSegments = std::vector<ImageSegment>;

// Addresses [begin, end).
struct AddressRange {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;

    // Whether the run [first, endOfRun) lies wholly inside.
    bool contains(std::uint64_t first, std::uint64_t endOfRun) const {
        return first >= begin && endOfRun <= end;
    }
};

// Where avr-gcc's linker places the memories of an AVR in one address space.
inline constexpr AddressRange kAvrFlashRange{0x000000, 0x800000};
inline constexpr AddressRange kAvrEepromRange{0x810000, 0x820000};

// The number of bytes the segments hold (fill between them not counted).
std::size_t dataByteCount(const ImageSegments& image);

// One past the last byte, 0 for an empty image.
std::uint64_t endAddress(const ImageSegments& image);

// Sorted, non-empty, apart and within the 32-bit address space: what every
// reader promises.
bool isWellFormed(const ImageSegments& image);

struct SplitImage {
    ImageSegments inside;   // counted from range.begin
    ImageSegments outside;  // at their own addresses
};

// Takes the bytes inside the range out of the image, a segment that crosses a
// boundary cut in two: avr-gcc's EEPROM at 0x810000 becomes an image of its own
// from address 0.
SplitImage splitImage(const ImageSegments& image, AddressRange range);

// The image as one run of bytes from address 0 to its end, gaps filled.
std::vector<std::uint8_t> flatten(const ImageSegments& image, std::uint8_t fill);

}  // namespace zavuv::buffers

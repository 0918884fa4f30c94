#pragma once
// Collects runs of bytes, in any order, into ImageSegments: sorts them, joins
// runs that touch or repeat each other, and finds runs that give one address two
// different values.

#include <cstddef>
#include <cstdint>
#include <span>
#include <variant>
#include <vector>

#include "buffers/ImageSegments.h"

namespace zavuv::buffers {

class SegmentBuilder {
public:
    // The caller keeps every run inside the 32-bit address space. `origin` names
    // the run in a conflict: a line number, a section index.
    void add(std::uint32_t address, std::span<const std::uint8_t> bytes, std::size_t origin);

    // Bytes added so far, repeated ones counted each time.
    std::size_t addedBytes() const { return pool_.size(); }

    // An address given two different values; `origin` is the later run in
    // address order (for equal addresses, the later one added).
    struct Conflict {
        std::uint64_t address = 0;
        std::size_t origin = 0;
    };

    // The segments, or the first conflict. Leaves the builder empty.
    std::variant<ImageSegments, Conflict> finish();

private:
    struct Run {
        std::uint32_t address;
        std::uint32_t size;
        std::size_t poolOffset;
        std::size_t origin;
    };
    std::vector<Run> runs_;
    std::vector<std::uint8_t> pool_;
};

}  // namespace zavuv::buffers

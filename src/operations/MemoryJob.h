#pragma once
// What a memory worker is given: the buffer, which memory of the chip, the
// board's block command for it, and how many bytes the chip holds.

#include <algorithm>
#include <cstddef>

#include "buffers/MemoryBuffer.h"
#include "link/BoardCommand.h"

namespace zavuv::operations {

struct MemoryJob {
    buffers::MemoryBuffer& buffer;
    bool isFlash;
    link::BoardCommand blockCommand;
    int sizeLimit;  // the device's flashSize or eepromSize

    // The bytes that fit the chip: the smaller of the buffer and sizeLimit.
    std::size_t amount() const {
        return std::min(buffer.size(), static_cast<std::size_t>(std::max(sizeLimit, 0)));
    }
};

}  // namespace zavuv::operations

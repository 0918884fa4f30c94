#pragma once
// What a memory worker is given: the buffer, which memory of the chip, the
// board's block command for it, and how many bytes the chip holds; and what a
// pass over the chip does with each byte it reads.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "buffers/MemoryBuffer.h"
#include "link/BoardCommand.h"

namespace zavuv::chips {

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

// Calls write(from, to) for each run of data bytes in [first, last) of the
// buffer, fill left out; false as soon as a call is.
template <typename Write>
bool forEachDataRun(const buffers::MemoryBuffer& buffer, std::size_t first, std::size_t last,
                    Write write) {
    for (std::size_t i = first; i < last;) {
        if (!buffer.holdsData(i)) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < last && buffer.holdsData(end))
            ++end;
        if (!write(i, end))
            return false;
        i = end;
    }
    return true;
}

// The title and text of a worker's progress display.
struct ProgressTexts {
    std::string title;
    std::string text;
};

// What happens to each byte that comes from the chip: stored (read) or
// compared with the buffer (verify).
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void handle(std::size_t offset, std::uint8_t value) = 0;
};

// One pass over the first `amount` bytes of the chip's memory.
struct ReadPass {
    ProgressTexts texts;
    std::size_t amount;
    ByteSink& sink;
};

}  // namespace zavuv::chips

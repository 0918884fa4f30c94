#include "operations/SerialNumber.h"

#include <algorithm>

namespace zavuv::operations {

namespace {
constexpr int kCounterBytes = 4;
}

void incrementSerialNumber(buffers::MemoryBuffer& buffer, int address) {
    if (address < 0 || buffer.size() == 0)
        return;
    auto data = buffer.mutableData();
    const auto last = static_cast<long long>(buffer.size()) - 1;
    long long p = std::min<long long>(address, last);
    for (int step = 0; step < kCounterBytes && p >= 0; ++step, --p) {
        const auto index = static_cast<std::size_t>(p);
        ++data[index];  // wraps from 0xFF to 0x00
        buffer.setState(index, buffers::ByteState::Incremented);
        if (data[index] != 0)
            break;
    }
    buffer.markModified();
    buffer.redraw();
}

void applyAutoIncrement(workspace::Workspace& ws, bool isFlash) {
    const auto& project = ws.project();
    if (!(isFlash ? project.autoIncrementFlash : project.autoIncrement))
        return;
    buffers::MemoryBuffer& buffer = isFlash ? ws.flash() : ws.eeprom();
    if (!buffer.hasFilePath() || buffer.size() == 0)
        return;
    incrementSerialNumber(buffer, isFlash ? project.autoIncAddressFlash : project.autoIncAddress);
}

}  // namespace zavuv::operations

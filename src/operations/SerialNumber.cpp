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

bool incrementsSerialNumber(const workspace::Workspace& ws, bool isFlash) {
    const auto& project = ws.project();
    const buffers::MemoryBuffer& buffer = isFlash ? ws.flash() : ws.eeprom();
    return (isFlash ? project.autoIncrementFlash : project.autoIncrement) && buffer.hasFilePath() &&
           buffer.size() != 0;
}

void applyAutoIncrement(workspace::Workspace& ws, bool isFlash) {
    if (!incrementsSerialNumber(ws, isFlash))
        return;
    const auto& project = ws.project();
    incrementSerialNumber(isFlash ? ws.flash() : ws.eeprom(),
                          isFlash ? project.autoIncAddressFlash : project.autoIncAddress);
}

}  // namespace zavuv::operations

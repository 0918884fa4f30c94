#include "chips/MemoryTiming.h"

namespace zavuv::chips {

namespace {

constexpr int kDefaultByteWriteDelayMs = 12;
constexpr int kDefaultByteReadDelayMs = 5;

// The byte-delay override of the memory, if it is on.
const int* byteDelayOverride(const buffers::ProjectSettings& project, bool isFlash) {
    if (isFlash)
        return project.delayByte ? &project.delayByteValue : nullptr;
    return project.delayByte2 ? &project.delayByteValue2 : nullptr;
}

// The board counts its delay down from 255 in steps of 7 per millisecond.
std::uint8_t codeForMs(int ms) {
    return static_cast<std::uint8_t>((255 - 7 * ms) & 0xFF);
}

std::uint8_t timingCode(const buffers::ProjectSettings& project, bool isFlash, int deviceCode) {
    if (const int* ms = byteDelayOverride(project, isFlash))
        return codeForMs(*ms);
    return static_cast<std::uint8_t>(deviceCode & 0xFF);
}

}  // namespace

int byteWriteDelayMs(const buffers::ProjectSettings& project, bool isFlash) {
    const int* ms = byteDelayOverride(project, isFlash);
    return ms ? *ms : kDefaultByteWriteDelayMs;
}

int byteReadDelayMs(const buffers::ProjectSettings& project, bool isFlash) {
    const int* ms = byteDelayOverride(project, isFlash);
    return ms ? *ms : kDefaultByteReadDelayMs;
}

int pageWriteDelayMs(const buffers::ProjectSettings& project, const devices::DeviceInfo& device,
                     bool isFlash) {
    if (isFlash ? project.delayPage : project.delayPage2)
        return isFlash ? project.delayPageValue : project.delayPageValue2;
    return device.pageWriteDelayMs;
}

std::uint8_t writeTimingCode(const buffers::ProjectSettings& project,
                             const devices::DeviceInfo& device, bool isFlash) {
    return timingCode(project, isFlash,
                      isFlash ? device.flashWriteDelayCode : device.eepromWriteDelayCode);
}

std::uint8_t readTimingCode(const buffers::ProjectSettings& project,
                            const devices::DeviceInfo& device, bool isFlash) {
    return timingCode(project, isFlash,
                      isFlash ? device.flashReadDelayCode : device.eepromReadDelayCode);
}

}  // namespace zavuv::chips

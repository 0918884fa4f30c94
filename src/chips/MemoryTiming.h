#pragma once
// The waits and board timing codes of the memory operations: the device's own
// values unless the project overrides them (Flash with delayByte/delayPage,
// EEPROM with delayByte2/delayPage2).

#include <cstdint>

#include "buffers/ProjectSettings.h"
#include "devices/DeviceTable.h"

namespace zavuv::chips {

// The wait after each single-byte write, in ms.
int byteWriteDelayMs(const buffers::ProjectSettings& project, bool isFlash);
// The wait after each single-byte read, in ms.
int byteReadDelayMs(const buffers::ProjectSettings& project, bool isFlash);
// The wait after each page write, in ms.
int pageWriteDelayMs(const buffers::ProjectSettings& project, const devices::DeviceInfo& device,
                     bool isFlash);

// The code sent with 'W' before the board's block writes and reads.
std::uint8_t writeTimingCode(const buffers::ProjectSettings& project,
                             const devices::DeviceInfo& device, bool isFlash);
std::uint8_t readTimingCode(const buffers::ProjectSettings& project,
                            const devices::DeviceInfo& device, bool isFlash);

}  // namespace zavuv::chips

#pragma once
// What the production log and the reports say about one unit: where and when
// it was programmed, what chip it was, which serial number it got and how the
// run ended.

#include <array>
#include <string>

#include "workspace/Workspace.h"

namespace zavuv::operations {

// The signature of a unit before anything read it; every read sets all three bytes.
inline constexpr std::array<int, 3> kSignatureNotRead{-1, -1, -1};

// One unit as the log records it. Texts are written as they are; empty ones
// stay empty fields.
struct UnitRecord {
    std::string time{};          // UTC, ISO 8601: 2026-12-07T21:35:49Z
    std::string port{};          // COM3, a device path, sim1
    std::string boardSerial{};   // the programmer board's serial number
    std::string chip{};          // the device's table name
    std::string signature{};     // the signature read, "1E 93 07"
    std::string serialNumber{};  // the serial number programmed, hex; empty when none
    std::string flashChecksum{};
    std::string eepromChecksum{};
    bool ok = false;
    std::string error{};  // why it failed
    double durationSeconds = 0;
};

// The workspace's part after a run: board serial number, chip, signature read,
// the serial number programmed (when the project steps one and the run
// succeeded), the checksums of the buffers that hold data. Time, port, error
// and duration are the caller's.
UnitRecord describeUnit(workspace::Workspace& ws, bool ok);

}  // namespace zavuv::operations

#pragma once
// The calibration-bytes command: the chip's oscillator calibration values.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "workspace/Workspace.h"

namespace zavuv::operations {

// The message box text: one line per byte with the frequency it is for (in MHz, by address).
std::string calibrationBoxText(const std::vector<std::uint8_t>& bytes,
                               std::span<const char* const> clocksMHz);
// The status line text: the bytes in hex after the heading.
std::string calibrationStatusText(const std::vector<std::uint8_t>& bytes);

// Reads as many calibration bytes as the project's device has and shows them
// on the status line and in a box. False when there was no board, no
// connection, or a byte could not be read (reported).
bool readCalibrationBytes(workspace::Workspace& ws);

}  // namespace zavuv::operations

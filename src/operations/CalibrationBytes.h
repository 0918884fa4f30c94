#pragma once
// The calibration-bytes command: the chip's oscillator calibration values.

#include <cstdint>
#include <string>
#include <vector>

#include "workspace/Workspace.h"

namespace zavuv::operations {

// The message box text: one line per byte, for 1, 2, 4 and 8 MHz.
std::string calibrationBoxText(const std::vector<std::uint8_t>& bytes);
// The status line text: the bytes in hex after the heading.
std::string calibrationStatusText(const std::vector<std::uint8_t>& bytes);

// Reads as many calibration bytes as the project's device has and shows them
// on the status line and in a box. False when there was no board, no
// connection, or a byte could not be read (reported).
bool readCalibrationBytes(workspace::Workspace& ws);

}  // namespace zavuv::operations

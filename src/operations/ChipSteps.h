#pragma once
// Link steps that the programming, reading and blank-check workers share.

#include <cstddef>
#include <cstdint>

#include "workspace/Workspace.h"

namespace zavuv::operations {

// A protocol wait; none at all for 0 ms, so that unset board delays cost nothing.
void waitMs(workspace::Workspace& ws, int ms);

// "Connection error" in a box, then the link-failure end code.
int connectionErrorBox(workspace::Workspace& ws);

// 'W' with the timing code and its CR; false after the "Connection error" box.
bool sendTimingCode(workspace::Workspace& ws, std::uint8_t code);

// The AVR-style read instruction (opcode, address high, address low) through
// the board; the chip's byte, or -1 when the block could not be sent or nothing came.
int readSpiByte(workspace::Workspace& ws, std::uint8_t opcode, std::size_t address);

// DataFlash: deselect, select, and the Continuous Array Read from address 0,
// after which every CMD_SPI_READ_N clocks out the next bytes of the array.
bool startDataFlashArrayRead(workspace::Workspace& ws);

// AT25: a select/deselect pulse that brings the chip's interface into step.
bool wakeAt25(workspace::Workspace& ws);
// AT25: one SPI byte inside a selected sequence.
bool at25Byte(workspace::Workspace& ws, std::uint8_t byte);
// AT25: the pause for the last write cycle, then the board ends the sequence.
bool finishAt25(workspace::Workspace& ws);

}  // namespace zavuv::operations

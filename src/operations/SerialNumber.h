#pragma once
// The serial-number auto-increment: a big-endian counter of up to four bytes
// in a memory buffer, stepped after each programmed chip.

#include "buffers/MemoryBuffer.h"
#include "workspace/Workspace.h"

namespace zavuv::operations {

// Adds one to the counter whose least significant byte is at `address`; a
// carry runs towards lower addresses, over at most four bytes. Every byte
// changed goes to state 6 and the buffer becomes modified. Never writes outside
// the buffer: an address at or past its end counts as its last byte, and the
// carry stops at offset 0; a negative address or an empty buffer changes nothing.
void incrementSerialNumber(buffers::MemoryBuffer& buffer, int address);

// Whether the project steps this buffer's serial number when it is programmed:
// it asks for it and the buffer holds data from a file.
bool incrementsSerialNumber(const workspace::Workspace& ws, bool isFlash);

// After Program Flash / Program EEPROM: the increment at the project's address
// when the project asks for it and the buffer holds data from a file.
void applyAutoIncrement(workspace::Workspace& ws, bool isFlash);

// Program must not increment by itself while a verify is to follow: the caller
// increments once, after verifying, so the chip is compared with the number it got.
class IncrementPaused {
public:
    explicit IncrementPaused(bool& flag) : flag_(flag), wasOn_(flag) { flag_ = false; }
    ~IncrementPaused() { flag_ = wasOn_; }
    IncrementPaused(const IncrementPaused&) = delete;
    IncrementPaused& operator=(const IncrementPaused&) = delete;
    bool wasOn() const { return wasOn_; }

private:
    bool& flag_;
    const bool wasOn_;
};

}  // namespace zavuv::operations

#pragma once
// Serial numbers reserved before they are programmed, so that no two chips get
// the same one: under an exclusive lock on a lock file beside the image file,
// the current number is read from the file and the next one written back; the
// chip is programmed after the lock is released, so boards never wait for each
// other's programming. A chip that fails later leaves a gap, never a duplicate.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/UserPort.h"
#include "buffers/ImageSegments.h"
#include "workspace/Workspace.h"

namespace zavuv::operations {

struct ReservedSerialNumber {
    buffers::ImageSegments image;      // the file's image with the reserved number: program this
    buffers::ImageSegments nextImage;  // what the file holds now, with the next number
};

// The lock file guarding an image file's serial number: "<image>.lock" beside the
// file (beside the file a symbolic link names, so that every link shares it).
std::string serialNumberLockPath(const std::string& imagePath);

// Under the image file's lock: reads the file as Load does, steps the counter
// whose least significant byte is at `address` (incrementSerialNumber), writes
// the file back in the format it was read in, atomically and on the disk, and
// unlocks. Nothing after a message saying why the file could not be locked,
// read or saved: then no number may be programmed.
std::optional<ReservedSerialNumber> reserveSerialNumber(const std::string& imagePath, bool isEeprom,
                                                        int address, base::UserPort& port);

// A run nobody watches (ws.unattended) reserves the number of a buffer that
// the project increments before programming it: the buffer holds the reserved
// image while it is programmed and takes the file's next image when this goes.
// Runs that are watched keep stepping the buffer after programming.
class BufferReservation {
public:
    BufferReservation(workspace::Workspace& ws, bool isFlash);
    ~BufferReservation();
    BufferReservation(const BufferReservation&) = delete;
    BufferReservation& operator=(const BufferReservation&) = delete;

    // The number was reserved: the buffer must not be stepped or reloaded.
    bool reserved() const { return next_.has_value(); }
    // The reservation failed: the status line named the file, and nothing
    // may be programmed.
    bool failed() const { return failed_; }

private:
    buffers::MemoryBuffer& buffer_;
    std::optional<buffers::ImageSegments> next_;
    bool failed_ = false;
};

}  // namespace zavuv::operations

#pragma once
// The reading and verifying workers: one pass over the chip through its
// driver, each byte handed at once to a step that stores it (read) or
// compares it with the buffer (verify).

#include "base/Progress.h"
#include "chips/MemoryJob.h"
#include "workspace/Workspace.h"

namespace zavuv::operations {

// Fills the whole buffer (which the caller has created with the memory's size)
// from the chip; each byte received goes to state Read. Done, Cancelled or
// LinkFailure.
base::EndCode readMemory(workspace::Workspace& ws, base::ProgressSink& sink,
                         const chips::MemoryJob& job);

// What a verify found.
struct VerifyOutcome {
    bool allEqual = true;
    int firstMismatch = -1;
    // At the first mismatch: the buffer's byte and the chip's.
    std::uint8_t expected = 0;
    std::uint8_t read = 0;
    int differing = 0;  // bytes that differ
};

// Compares the bytes that fit the chip with it. Every state goes to Created
// first; each byte that matches then goes to Verified. Done (also with
// mismatches), Cancelled or LinkFailure.
base::EndCode verifyMemory(workspace::Workspace& ws, base::ProgressSink& sink,
                           const chips::MemoryJob& job, VerifyOutcome& outcome);

}  // namespace zavuv::operations

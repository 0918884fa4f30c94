#pragma once
// The reading and verifying workers: one traversal of the chip per way of
// talking to it, each byte handed at once to a step that stores it (read) or
// compares it with the buffer (verify).

#include "base/Progress.h"
#include "operations/MemoryJob.h"
#include "workspace/Workspace.h"

namespace zavuv::operations {

// Fills the whole buffer (which the caller has created with the memory's size)
// from the chip; each byte received goes to state 4. End code 0, 1 or -1.
int readMemory(workspace::Workspace& ws, base::ProgressSink& sink, const MemoryJob& job);

// What a verify found.
struct VerifyOutcome {
    bool allEqual = true;
    int firstMismatch = -1;
};

// Compares the bytes that fit the chip with it. Every state goes to 5 first;
// each byte that matches then goes to 3. End code 0 (also with mismatches), 1 or -1.
int verifyMemory(workspace::Workspace& ws, base::ProgressSink& sink, const MemoryJob& job,
                 VerifyOutcome& outcome);

}  // namespace zavuv::operations

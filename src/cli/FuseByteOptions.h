#pragma once
// Lock and fuse bits as the bytes a fuse calculator gives: `fuses program
// --low 0xE2 --high 0xD9 [--ext 0xFF] [--lock 0xFF]`, and the bytes that
// `fuses read` prints.

#include <optional>

#include "cli/BoardCommandCatalog.h"
#include "devices/LockFuseLayout.h"

namespace zavuv::cli {

// The options, for the command's entry.
std::vector<ValueOption> fuseByteOptions();

bool fuseBytesGiven(const CommandArguments& arguments);

// The bits the given bytes describe in the project device's layout: every
// fuse byte the chip has must be given, no other; the lock byte is optional
// (without it the lock bits are left as they are). Nothing after a message
// when a value is no byte, a byte is missing or the chip has no such byte.
std::optional<devices::LockFuseState> fuseBytesState(workspace::Workspace& ws,
                                                     const devices::LockFuseLayout& layout,
                                                     const CommandArguments& arguments);

// "Lock byte: 0x3F", "Low fuse byte: 0xE2", ... for the bytes the chip has.
void printFuseBytes(workspace::Workspace& ws, const devices::LockFuseLayout& layout,
                    const devices::LockFuseState& state);

}  // namespace zavuv::cli

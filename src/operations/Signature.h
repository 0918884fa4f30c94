#pragma once
// Reading a chip's signature and judging it against the selected device.

#include <string>

#include "chips/ChipDriver.h"
#include "workspace/Workspace.h"

namespace zavuv::operations {

using SignatureBytes = chips::SignatureBytes;

// A signature of 00 01 02 is what a locked chip returns instead of its own.
bool isLockedSignature(const SignatureBytes& bytes);

// The signature the checks compare, read on an open session into the
// workspace's signature values (0xFF where a byte could not be read). False
// at the first byte that could not be sent or did not come.
bool readSignature(workspace::Workspace& ws);

// The text shown for a signature: the device's name (and the device lists
// switch to it when it is not the selected one), "Unknown ATMEL device" for an
// unknown 0x1E chip, otherwise "Unknown device". Not used for a locked chip.
std::string signatureText(workspace::Workspace& ws, const SignatureBytes& bytes);

// Reads the signature the checks compare and leaves the verdict in
// lastOperationStatus: Failed when unreadable ("Error reading signature"
// shown), Succeeded for the selected device, OtherChip for another or unknown
// chip, Locked.
void verifySignature(workspace::Workspace& ws);
// The same, with the signature read as the selected chip's driver reads it
// (an AT89S reads its own way).
void verifyChipSignature(workspace::Workspace& ws);

}  // namespace zavuv::operations

#pragma once
// Whether a text image reader holds a wrong record checksum against the file.

namespace zavuv::buffers {

// Check: a wrong checksum is reported (once nothing else is wrong), so that the
// caller can ask the person; Accept: read again after the person said yes.
enum class ChecksumPolicy { Check, Accept };

}  // namespace zavuv::buffers

#pragma once
// Sending the firmware image to the board's boot loader: the worker body of
// the firmware update.

#include <cstdint>
#include <span>

#include "base/Progress.h"
#include "link/LinkMessages.h"
#include "link/ProgrammerLink.h"

namespace zavuv::operations {

// Reduced speed leaves the board more time between chunks, for slow adapters.
enum class TransferSpeed { Normal, Reduced };

// Asks the boot loader for an upload, sends the image in 4-byte chunks paced
// by the speed, and checks that the new firmware answers. The upload cannot be
// cancelled: a half-sent image leaves the board without firmware. EndCode::Done on
// success, EndCode::LinkFailure otherwise (reported). The port stays open on
// success and on failures before the final check; that check's failures end
// the session.
base::EndCode uploadFirmware(link::ProgrammerLink& link, link::LinkMessages& messages,
                             std::span<const std::uint8_t> image, TransferSpeed speed,
                             base::ProgressSink& progress);

}  // namespace zavuv::operations

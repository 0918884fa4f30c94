#pragma once
// The chip model that speaks the instruction set of the image's device.

#include <memory>

#include "sim/ChipImage.h"
#include "sim/TargetChip.h"

namespace zavuv::sim {

// The model works on the image, which must outlive it.
std::unique_ptr<TargetChip> makeChip(ChipImage& image);

}  // namespace zavuv::sim

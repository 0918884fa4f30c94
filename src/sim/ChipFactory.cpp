#include "sim/ChipFactory.h"

#include "sim/At25Chip.h"
#include "sim/At45Chip.h"
#include "sim/At89s8252Chip.h"
#include "sim/At89sByteChip.h"
#include "sim/AvrChip.h"
#include "sim/ChipKind.h"

namespace zavuv::sim {

std::unique_ptr<TargetChip> makeChip(ChipImage& image) {
    switch (chipKindOf(image.device())) {
    case ChipKind::At89S51:
        return std::make_unique<At89s51Chip>(image);
    case ChipKind::At89S8252:
        return std::make_unique<At89s8252Chip>(image, false);
    case ChipKind::At89S53:
        return std::make_unique<At89s8252Chip>(image, true);
    case ChipKind::At89S8253:
        return std::make_unique<At89s8253Chip>(image);
    case ChipKind::At25:
        return std::make_unique<At25Chip>(image);
    case ChipKind::At45:
        return std::make_unique<At45Chip>(image);
    case ChipKind::Avr:
        break;
    }
    return std::make_unique<AvrChip>(image);
}

}  // namespace zavuv::sim

#include "devices/FuseBitPlace.h"

namespace zavuv::devices {

std::optional<FuseBitPlace> fuseBitPlace(const LockFuseLayout& layout, std::string_view name) {
    for (int i = 0; i < layout.fuseCount; ++i) {
        if (name != layout.fuseName[i])
            continue;
        for (int k = 0; k < kFuseByteCount; ++k) {
            const BitPosition position = layout.fuseBytes[k].writePos[i];
            if (position.present())
                return FuseBitPlace{static_cast<FuseByte>(k), position.bit};
        }
    }
    return std::nullopt;
}

}  // namespace zavuv::devices

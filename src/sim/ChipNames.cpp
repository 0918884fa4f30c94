#include "sim/ChipNames.h"

#include "devices/DeviceNames.h"

namespace zavuv::sim {

std::optional<ChipChoice> findChip(const std::string& name) {
    const auto named = devices::findDeviceByName(name);
    if (!named) {
        return std::nullopt;
    }
    return ChipChoice{named->index, named->signature};
}

}  // namespace zavuv::sim

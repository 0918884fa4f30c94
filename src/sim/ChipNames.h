#pragma once
// Which chip a name on the command line stands for.

#include <optional>
#include <string>

#include "devices/DeviceTable.h"

namespace zavuv::sim {

struct ChipChoice {
    int deviceIndex;
    devices::Signature signature;  // what the chip reports when asked
};

// The table record of this name or alias, in any letter case. An alias reports
// its own signature: "ATmega3250" is the ATmega325/3250 record with the
// alternative signature.
std::optional<ChipChoice> findChip(const std::string& name);

}  // namespace zavuv::sim

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

// The table record of this name, in any letter case. The second name of a pair
// ("ATmega3250" of "ATmega325/3250", "AT90PWM3" of "AT90PWM2/3") names the same
// record with its alternative signature.
std::optional<ChipChoice> findChip(const std::string& name);

}  // namespace zavuv::sim

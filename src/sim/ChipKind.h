#pragma once
// The instruction set a chip of the device table speaks on its SPI pins.

#include "devices/DeviceTable.h"

namespace zavuv::sim {

enum class ChipKind {
    Avr,        // AVR serial programming, also AT86RF401
    At89S51,    // AT89S51, AT89S52, AT89S2051, AT89S4051: 4-byte instructions
    At89S8252,  // 3-byte instructions, Flash and data EEPROM
    At89S53,    // 3-byte instructions, 12 KB Flash
    At89S8253,  // 4-byte instructions, Flash, EEPROM and user fuses
    At25,       // SPI serial EEPROM
    At45,       // DataFlash
};

inline ChipKind chipKindOf(const devices::DeviceInfo& device) {
    using devices::ProgAlgorithm;
    if (device.isAt45()) {
        return ChipKind::At45;
    }
    switch (device.algorithm) {
    case ProgAlgorithm::At89S8252:
        return ChipKind::At89S8252;
    case ProgAlgorithm::At89S53:
        return ChipKind::At89S53;
    case ProgAlgorithm::At89S51:
        return ChipKind::At89S51;
    case ProgAlgorithm::At25:
        return ChipKind::At25;
    case ProgAlgorithm::At89S8253:
        return ChipKind::At89S8253;
    case ProgAlgorithm::Avr:
        break;
    }
    return ChipKind::Avr;
}

}  // namespace zavuv::sim

#pragma once
// The four ways the memory operations talk to a chip, chosen by its record.

#include "devices/DeviceTable.h"

namespace zavuv::operations {

enum class ChipWay {
    DataFlash,      // AT45: the board as a raw SPI bridge, one page at a time
    SingleBytes,    // AT89S51-style: one SPI instruction per byte
    At25Pages,      // AT25 serial EEPROM: raw SPI bytes, page by page
    BoardCommands,  // the board's own block and page commands
};

// The first that fits: DataFlash family, then the AT89S51 instruction set,
// then the AT25 one, else the board's commands.
inline ChipWay chipWayOf(const devices::DeviceInfo& device) {
    if (device.isAt45())
        return ChipWay::DataFlash;
    if (device.algorithm == devices::ProgAlgorithm::At89S51)
        return ChipWay::SingleBytes;
    if (device.algorithm == devices::ProgAlgorithm::At25)
        return ChipWay::At25Pages;
    return ChipWay::BoardCommands;
}

}  // namespace zavuv::operations

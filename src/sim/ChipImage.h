#pragma once
// Everything a target chip keeps when the power is off: its memories, signature,
// calibration bytes, lock and fuse bytes. The chip models work on it and the
// state directory stores it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "devices/DeviceTable.h"
#include "devices/LockFuseLayout.h"

namespace zavuv::sim {

struct ChipImage {
    int deviceIndex = 0;
    devices::Signature signature{};
    // AVR: the lock byte; AT89S: LB1..LB3 in bits 0..2; AT25: the status
    // register's non-volatile bits (BP0, BP1, WPEN). A cleared bit is programmed,
    // except for the AT25 status register, where a set bit protects.
    std::uint8_t lock = 0xFF;
    std::uint8_t lowFuse = 0xFF;  // AT89S8253: the user fuses in bits 0..3
    std::uint8_t highFuse = 0xFF;
    std::uint8_t extFuse = 0xFF;
    std::vector<std::uint8_t> calibration;
    std::vector<std::uint8_t> flash;   // AT45: the whole array
    std::vector<std::uint8_t> eeprom;  // AT25: the whole memory
    // Not kept with the chip but how its model behaves: the old chips of the
    // `locked` fault answer a signature read with the address byte (00 01 02)
    // while they are read protected; an ATmega or ATtiny still tells it.
    bool lockHidesSignature = false;

    const devices::DeviceInfo& device() const { return devices::DeviceTable::at(deviceIndex); }

    // A chip as it leaves the factory: erased, unlocked, its device's signature
    // and the datasheet's default fuses.
    static ChipImage fresh(int deviceIndex);

    // The `locked` fault: programs the lock bits that protect the memories
    // against reading and writing, on a chip that then hides its signature too.
    void lockMemories();

    // The AVR fuse byte kept for this fuse byte of the layouts.
    std::uint8_t fuseByte(devices::FuseByte which) const;
    void setFuseByte(devices::FuseByte which, std::uint8_t value);
    // Whether the fuse of this name (SPIEN, EESAVE, ...) is programmed; false
    // when the chip has no such fuse.
    bool fuseProgrammed(std::string_view name) const;

    // A microcontroller's LB1 forbids further programming, its LB2 also reading back.
    bool writeProtected() const { return (lock & 0x01) == 0; }
    bool readProtected() const { return (lock & 0x02) == 0; }
    // Flash cells: programming only clears bits; only a chip erase sets them again.
    static void programFlashByte(std::vector<std::uint8_t>& memory, std::size_t address,
                                 std::uint8_t value) {
        memory[address % memory.size()] &= value;
    }
};

}  // namespace zavuv::sim

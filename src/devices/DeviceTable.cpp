#include "devices/DeviceTable.h"

#include <stdexcept>

namespace zavuv::devices {

namespace {

// clang-format off
// family, name, page, flash, eeprom (AT45: address shift), signature (AT45:
// status value, mask), alternative signature, algorithm, delay codes (Flash
// write, Flash read, EEPROM write, EEPROM read), page write ms, board device
// code, lock/fuse layout, forced programming enable, calibration bytes.
constexpr DeviceInfo kDevices[DeviceTable::kCount] = {
    // 0
    {DeviceFamily::ATtiny, "ATtiny13", 16, 1024, 64, {0x1E, 0x90, 0x07}, {0x1E, 0x90, 0x07}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xDC, 0xDC, 15, 4, 23, 0, 1},
    // 1
    {DeviceFamily::ATtiny, "ATtiny2313", 16, 2048, 128, {0x1E, 0x91, 0x0A}, {0x1E, 0x91, 0x0A}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xA1, 0xDC, 15, 0, 24, 0, 4},
    // 2
    {DeviceFamily::ATtiny, "ATtiny24", 16, 2048, 128, {0x1E, 0x91, 0x0B}, {0x1E, 0x91, 0x0B}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xA1, 0xDC, 15, 0, 34, 0, 4},
    // 3
    {DeviceFamily::ATtiny, "ATtiny25", 16, 2048, 128, {0x1E, 0x91, 0x08}, {0x1E, 0x91, 0x08}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xA1, 0xDC, 15, 0, 36, 0, 4},
    // 4
    {DeviceFamily::ATtiny, "ATtiny26", 16, 2048, 128, {0x1E, 0x91, 0x09}, {0x1E, 0x91, 0x09}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xA1, 0xDC, 15, 0, 14, 0, 4},
    // 5
    {DeviceFamily::ATtiny, "ATtiny44", 32, 4096, 256, {0x1E, 0x92, 0x07}, {0x1E, 0x92, 0x07}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xA1, 0xDC, 15, 0, 34, 0, 4},
    // 6
    {DeviceFamily::ATtiny, "ATtiny45", 32, 4096, 256, {0x1E, 0x92, 0x06}, {0x1E, 0x92, 0x06}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xA1, 0xDC, 15, 0, 36, 0, 4},
    // 7
    {DeviceFamily::ATtiny, "ATtiny84", 32, 8192, 512, {0x1E, 0x93, 0x0C}, {0x1E, 0x93, 0x0C}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xA1, 0xDC, 15, 0, 34, 0, 4},
    // 8
    {DeviceFamily::ATtiny, "ATtiny85", 32, 8192, 512, {0x1E, 0x93, 0x0B}, {0x1E, 0x93, 0x0B}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xA1, 0xDC, 15, 0, 36, 0, 4},
    // 9
    {DeviceFamily::At90, "AT90PWM1", 32, 8192, 512, {0x1E, 0x93, 0x83}, {0x1E, 0x93, 0x83}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xDC, 0xDC, 15, 2, 38, 0, 4},
    // 10
    {DeviceFamily::At90, "AT90PWM2/3", 32, 8192, 512, {0x1E, 0x93, 0x81}, {0x1E, 0x93, 0x82}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xDC, 0xDC, 15, 2, 31, 0, 4},
    // 11
    {DeviceFamily::ATmega, "ATmega48", 32, 4096, 256, {0x1E, 0x92, 0x05}, {0x1E, 0x92, 0x05}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xDC, 0xDC, 15, 2, 25, 0, 1},
    // 12
    {DeviceFamily::ATmega, "ATmega8", 32, 8192, 512, {0x1E, 0x93, 0x07}, {0x1E, 0x93, 0x07}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xDC, 0xDC, 15, 2, 12, 0, 4},
    // 13
    {DeviceFamily::ATmega, "ATmega88", 32, 8192, 512, {0x1E, 0x93, 0x0A}, {0x1E, 0x93, 0x0A}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xDC, 0xDC, 15, 2, 26, 0, 1},
    // 14
    {DeviceFamily::ATmega, "ATmega8515", 32, 8192, 512, {0x1E, 0x93, 0x06}, {0x1E, 0x93, 0x06}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xA1, 0xDC, 15, 2, 17, 0, 4},
    // 15
    {DeviceFamily::ATmega, "ATmega8535", 32, 8192, 512, {0x1E, 0x93, 0x08}, {0x1E, 0x93, 0x08}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xA1, 0xC0, 15, 2, 18, 0, 4},
    // 16
    {DeviceFamily::ATmega, "ATmega16", 64, 16384, 512, {0x1E, 0x94, 0x03}, {0x1E, 0x94, 0x03}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xC0, 0xC0, 15, 2, 13, 0, 4},
    // 17
    {DeviceFamily::ATmega, "ATmega162", 64, 16384, 512, {0x1E, 0x94, 0x04}, {0x1E, 0x94, 0x04}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xC0, 0xC0, 15, 2, 19, 0, 1},
    // 18
    {DeviceFamily::ATmega, "ATmega165", 64, 16384, 512, {0x1E, 0x94, 0x07}, {0x1E, 0x94, 0x07}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xC0, 0xC0, 15, 2, 21, 0, 1},
    // 19
    {DeviceFamily::ATmega, "ATmega168", 64, 16384, 512, {0x1E, 0x94, 0x06}, {0x1E, 0x94, 0x06}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xDC, 0xDC, 15, 2, 26, 0, 1},
    // 20
    {DeviceFamily::ATmega, "ATmega169", 64, 16384, 512, {0x1E, 0x94, 0x05}, {0x1E, 0x94, 0x05}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xC0, 0xC0, 15, 2, 21, 0, 1},
    // 21
    {DeviceFamily::ATmega, "ATmega32", 64, 32768, 1024, {0x1E, 0x95, 0x02}, {0x1E, 0x95, 0x02}, ProgAlgorithm::Avr, 0x96, 0xDC, 0xC0, 0xC0, 15, 2, 16, 0, 4},
    // 22
    {DeviceFamily::ATmega, "ATmega325/3250", 64, 32768, 1024, {0x1E, 0x95, 0x05}, {0x1E, 0x95, 0x06}, ProgAlgorithm::Avr, 0x96, 0xDC, 0xC0, 0xC0, 15, 2, 30, 0, 1},
    // 23
    {DeviceFamily::ATmega, "ATmega329/3290", 64, 32768, 1024, {0x1E, 0x95, 0x03}, {0x1E, 0x95, 0x04}, ProgAlgorithm::Avr, 0x96, 0xDC, 0xC0, 0xC0, 15, 2, 33, 0, 1},
    // 24
    {DeviceFamily::ATmega, "ATmega64", 128, 65536, 2048, {0x1E, 0x96, 0x02}, {0x1E, 0x96, 0x02}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xC0, 0xC0, 15, 2, 20, 0, 4},
    // 25
    {DeviceFamily::ATmega, "ATmega640", 128, 65536, 8192, {0x1E, 0x96, 0x07}, {0x1E, 0x96, 0x07}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xC0, 0xC0, 15, 2, 10, 0, 1},
    // 26
    {DeviceFamily::ATmega, "ATmega644", 128, 65536, 2048, {0x1E, 0x96, 0x07}, {0x1E, 0x96, 0x07}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xC0, 0xC0, 15, 2, 32, 0, 1},
    // 27
    {DeviceFamily::ATmega, "ATmega645/6450", 128, 65536, 2048, {0x1E, 0x96, 0x05}, {0x1E, 0x96, 0x06}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xC0, 0xC0, 15, 2, 30, 0, 1},
    // 28
    {DeviceFamily::ATmega, "ATmega649/6490", 128, 65536, 2048, {0x1E, 0x96, 0x03}, {0x1E, 0x96, 0x04}, ProgAlgorithm::Avr, 0x96, 0xDC, 0xC0, 0xC0, 15, 2, 33, 0, 1},
    // 29
    {DeviceFamily::ATmega, "ATmega128", 128, 131072, 4096, {0x1E, 0x97, 0x02}, {0x1E, 0x01, 0x02}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xC0, 0xC0, 15, 2, 10, 0, 4},
    // 30
    {DeviceFamily::ATmega, "ATmega128x", 128, 131072, 8192, {0x1E, 0x97, 0x03}, {0x1E, 0x97, 0x04}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xC0, 0xC0, 15, 2, 35, 0, 1},
    // 31
    {DeviceFamily::ATmega, "ATmega256x", 128, 262144, 8192, {0x1E, 0x98, 0x01}, {0x1E, 0x98, 0x02}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xC0, 0xC0, 15, 2, 35, 0, 1},
    // 32
    {DeviceFamily::At89S, "AT89S2051", 0, 2048, 0, {0x1E, 0x23, 0xFF}, {0x1E, 0x23, 0xFF}, ProgAlgorithm::At89S51, 0x50, 0x50, 0xDC, 0x50, 15, 3, 28, 0, 0},
    // 33
    {DeviceFamily::At89S, "AT89S4051", 0, 4096, 0, {0x1E, 0x43, 0xFF}, {0x1E, 0x43, 0xFF}, ProgAlgorithm::At89S51, 0x50, 0x50, 0xDC, 0x50, 15, 3, 28, 0, 0},
    // 34
    {DeviceFamily::At89S, "AT89S51", 0, 4096, 0, {0x1E, 0x51, 0x06}, {0x1E, 0x51, 0x06}, ProgAlgorithm::At89S51, 0x50, 0x50, 0xDC, 0x50, 15, 1, 1, 0, 0},
    // 35
    {DeviceFamily::At89S, "AT89S52", 0, 8192, 0, {0x1E, 0x52, 0x06}, {0x1E, 0x52, 0x06}, ProgAlgorithm::At89S51, 0x50, 0x50, 0xDC, 0x50, 15, 1, 1, 0, 0},
    // 36
    {DeviceFamily::At89S, "AT89S8252", 0, 8192, 2048, {0x00, 0xFF, 0x00}, {0x00, 0xFF, 0x00}, ProgAlgorithm::At89S8252, 0x50, 0x50, 0xDC, 0x50, 15, 1, 27, 0, 0},
    // 37
    {DeviceFamily::At89S, "AT89S8253", 0, 12288, 2048, {0x1E, 0x73, 0xFF}, {0x1E, 0x73, 0xFF}, ProgAlgorithm::At89S8253, 0x50, 0x50, 0xDC, 0x50, 15, 12, 37, 0, 0},
    // 38
    {DeviceFamily::At89S, "AT89S53", 0, 12288, 0, {0x00, 0xFF, 0x00}, {0x00, 0xFF, 0x00}, ProgAlgorithm::At89S53, 0x50, 0x50, 0xDC, 0x50, 15, 3, 28, 0, 0},
    // 39
    {DeviceFamily::At86, "AT86RF401", 0, 2048, 128, {0x1E, 0x91, 0x81}, {0x1E, 0x91, 0x81}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xDC, 0xDC, 15, 0, 22, 0, 0},
    // 40
    {DeviceFamily::At25, "AT25256", 64, 0, 32768, {0x00, 0x00, 0x00}, {0x00, 0x00, 0x00}, ProgAlgorithm::At25, 0x00, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0},
    // 41
    {DeviceFamily::At25, "AT25HP256", 128, 0, 32768, {0x00, 0x00, 0x00}, {0x00, 0x00, 0x00}, ProgAlgorithm::At25, 0x00, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0},
    // 42
    {DeviceFamily::At25, "AT25HP512", 128, 0, 65536, {0x00, 0x00, 0x00}, {0x00, 0x00, 0x00}, ProgAlgorithm::At25, 0x00, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0},
    // 43
    {DeviceFamily::At90, "AT90CAN32", 128, 32768, 1024, {0x1E, 0x95, 0x81}, {0x00, 0x00, 0x00}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xC0, 0xC0, 15, 2, 29, 0, 4},
    // 44
    {DeviceFamily::At90, "AT90CAN64", 128, 65536, 2048, {0x1E, 0x96, 0x81}, {0x00, 0x00, 0x00}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xC0, 0xC0, 15, 2, 29, 0, 4},
    // 45
    {DeviceFamily::At90, "AT90CAN128", 128, 131072, 4096, {0x1E, 0x97, 0x81}, {0x00, 0x00, 0x00}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xC0, 0xC0, 15, 2, 29, 0, 4},
    // 46
    {DeviceFamily::At90, "AT90USB1286", 128, 131072, 4096, {0x1E, 0x97, 0x15}, {0x1E, 0x97, 0x15}, ProgAlgorithm::Avr, 0xDC, 0xDC, 0xC0, 0xC0, 15, 2, 10, 0, 4},
    // 47
    {DeviceFamily::At45, "AT45DB041B", 264, 540672, 1, {0x1C, 0x3C, 0x00}, {0x00, 0x00, 0x00}, ProgAlgorithm::Avr, 0xFF, 0xFF, 0xFF, 0xFF, 40, 0, 0, 0, 0},
    // 48
    {DeviceFamily::At45, "AT45DB041D", 264, 540672, 1, {0x1C, 0x3C, 0x00}, {0x00, 0x00, 0x00}, ProgAlgorithm::Avr, 0xFF, 0xFF, 0xFF, 0xFF, 40, 0, 0, 0, 0},
    // 49
    {DeviceFamily::At45, "AT45DB081B", 264, 1081344, 1, {0x24, 0x3C, 0x00}, {0x00, 0x00, 0x00}, ProgAlgorithm::Avr, 0xFF, 0xFF, 0xFF, 0xFF, 40, 0, 0, 0, 0},
    // 50
    {DeviceFamily::At45, "AT45DB161B", 528, 2162688, 2, {0x2C, 0x3C, 0x00}, {0x00, 0x00, 0x00}, ProgAlgorithm::Avr, 0xFF, 0xFF, 0xFF, 0xFF, 40, 0, 0, 0, 0},
    // 51
    {DeviceFamily::At45, "AT45DB321B", 528, 4325376, 2, {0x34, 0x3C, 0x00}, {0x00, 0x00, 0x00}, ProgAlgorithm::Avr, 0xFF, 0xFF, 0xFF, 0xFF, 40, 0, 0, 0, 0},
    // 52
    {DeviceFamily::At45, "AT45DB321C", 528, 4325376, 2, {0x34, 0x3C, 0x00}, {0x00, 0x00, 0x00}, ProgAlgorithm::Avr, 0xFF, 0xFF, 0xFF, 0xFF, 40, 0, 0, 0, 0},
    // 53
    {DeviceFamily::At45, "AT45DB642", 1056, 8650752, 3, {0x3C, 0x3C, 0x00}, {0x00, 0x00, 0x00}, ProgAlgorithm::Avr, 0xFF, 0xFF, 0xFF, 0xFF, 40, 0, 0, 0, 0},
    // 54
    {DeviceFamily::At45, "AT45DB642D", 1056, 8650752, 3, {0x3C, 0x3C, 0x00}, {0x00, 0x00, 0x00}, ProgAlgorithm::Avr, 0xFF, 0xFF, 0xFF, 0xFF, 40, 0, 0, 0, 0},
};
// clang-format on

constexpr const char* kFamilyNames[kFamilyCount] = {
    "AT25...", "AT45...", "AT86...", "AT89S...", "AT90...", "ATtiny...", "ATmega...",
};

}  // namespace

bool DeviceInfo::canReadSignature() const {
    return algorithm == ProgAlgorithm::Avr || algorithm == ProgAlgorithm::At89S51 ||
           algorithm == ProgAlgorithm::At89S8253;
}

const DeviceInfo& DeviceTable::at(int index) {
    if (!isValidIndex(index))
        throw std::out_of_range("device index out of range");
    return kDevices[index];
}

const char* DeviceTable::familyName(DeviceFamily family) {
    const int f = static_cast<int>(family);
    return f >= 0 && f < kFamilyCount ? kFamilyNames[f] : "";
}

std::vector<const char*> DeviceTable::devicesOfFamily(DeviceFamily family) {
    std::vector<const char*> names;
    for (const auto& d : kDevices)
        if (d.family == family)
            names.push_back(d.name);
    return names;
}

FamilyPosition DeviceTable::familyPosition(int index) {
    const DeviceInfo& device = at(index);
    int position = 0;
    for (int i = 0; i < index; ++i)
        if (kDevices[i].family == device.family)
            ++position;
    return {device.family, position};
}

int DeviceTable::indexAt(DeviceFamily family, int position) {
    if (position < 0)
        return -1;
    for (int i = 0; i < kCount; ++i)
        if (kDevices[i].family == family && position-- == 0)
            return i;
    return -1;
}

int DeviceTable::findBySignature(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2) {
    if (b0 != 0x1E)
        return -1;
    const Signature read{b0, b1, b2};
    for (int i = 0; i < kCount; ++i)
        if (kDevices[i].signature == read || kDevices[i].altSignature == read)
            return i;
    return -1;
}

int DeviceTable::findAt45ByStatus(std::uint8_t status) {
    if (status == 0xFF)
        return -1;
    for (int i = 0; i < kCount; ++i) {
        const DeviceInfo& d = kDevices[i];
        if (d.isAt45() && (status & d.statusMask()) == d.statusValue())
            return i;
    }
    return -1;
}

std::array<std::uint8_t, 2> DeviceTable::at45PageAddress(const DeviceInfo& device, int page) {
    const auto shifted = static_cast<std::uint16_t>(page << device.addressShift());
    return {static_cast<std::uint8_t>(shifted >> 8), static_cast<std::uint8_t>(shifted & 0xFF)};
}

}  // namespace zavuv::devices

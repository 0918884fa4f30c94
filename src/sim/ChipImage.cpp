#include "sim/ChipImage.h"

#include "sim/ChipKind.h"

namespace zavuv::sim {

namespace {

struct FuseDefaults {
    int layout;
    std::uint8_t low, high, ext;
};

// The factory settings of the datasheets, by lock/fuse layout.
constexpr FuseDefaults kFuseDefaults[] = {
    {10, 0xE1, 0x99, 0xFD},  // ATmega128 (M103C programmed), ATmega640, AT90USB1286
    {12, 0xE1, 0xD9, 0xFF},  // ATmega8
    {13, 0xE1, 0x99, 0xFF},  // ATmega16
    {14, 0xE1, 0xF7, 0xFF},  // ATtiny26
    {16, 0xE1, 0x99, 0xFF},  // ATmega32
    {17, 0xE1, 0xD9, 0xFF},  // ATmega8515
    {18, 0xE1, 0xD9, 0xFF},  // ATmega8535
    {19, 0x62, 0x99, 0xFF},  // ATmega162
    {20, 0xE1, 0x99, 0xFD},  // ATmega64 (M103C programmed)
    {21, 0x62, 0x99, 0xFF},  // ATmega165, ATmega169
    {23, 0x6A, 0xFF, 0xFF},  // ATtiny13
    {24, 0x64, 0xDF, 0xFF},  // ATtiny2313
    {25, 0x62, 0xDF, 0xFF},  // ATmega48
    {26, 0x62, 0xDF, 0xF9},  // ATmega88, ATmega168
    {29, 0x62, 0x99, 0xFF},  // AT90CAN32/64/128
    {30, 0x62, 0x99, 0xFF},  // ATmega325/645
    {31, 0x62, 0xDF, 0xF9},  // AT90PWM2/3
    {32, 0x62, 0x99, 0xFF},  // ATmega644
    {33, 0x62, 0x99, 0xFF},  // ATmega329/649
    {34, 0x62, 0xDF, 0xFF},  // ATtiny24/44/84
    {35, 0x62, 0x99, 0xFF},  // ATmega1280/2560
    {36, 0x62, 0xDF, 0xFF},  // ATtiny25/45/85
    {37, 0xFA, 0xFF, 0xFF},  // AT89S8253: SerialPrgEn and UsrRowPrgEn programmed
    {38, 0x62, 0xDF, 0xF9},  // AT90PWM1
};

// Plausible oscillator calibration values for 1, 2, 4 and 8 MHz.
constexpr std::uint8_t kCalibration[] = {0xA8, 0xA5, 0xA2, 0x9F};

}  // namespace

ChipImage ChipImage::fresh(int deviceIndex) {
    ChipImage image;
    image.deviceIndex = deviceIndex;
    const devices::DeviceInfo& device = image.device();
    const ChipKind kind = chipKindOf(device);
    image.signature = device.signature;
    if (kind == ChipKind::At25) {
        image.lock = 0x00;  // no block protected
        image.eeprom.assign(static_cast<std::size_t>(device.eepromSize), 0xFF);
        return image;
    }
    image.flash.assign(static_cast<std::size_t>(device.flashSize), 0xFF);
    if (kind != ChipKind::At45) {
        image.eeprom.assign(static_cast<std::size_t>(device.eepromSize), 0xFF);
    }
    for (const FuseDefaults& defaults : kFuseDefaults) {
        if (defaults.layout == device.lockFuseLayout) {
            image.lowFuse = defaults.low;
            image.highFuse = defaults.high;
            image.extFuse = defaults.ext;
        }
    }
    image.calibration.assign(kCalibration, kCalibration + device.calibrationBytes);
    return image;
}

void ChipImage::lockMemories() {
    switch (chipKindOf(device())) {
    case ChipKind::Avr:
    case ChipKind::At89S51:
    case ChipKind::At89S8252:
    case ChipKind::At89S53:
    case ChipKind::At89S8253:
        lock &= 0xFC;  // LB1 and LB2 programmed
        break;
    case ChipKind::At25:
        lock |= 0x0C;  // BP0 and BP1: the whole array write protected
        break;
    case ChipKind::At45:
        break;  // no lock bits in the table's DataFlash parts
    }
}

}  // namespace zavuv::sim

#include "sim/ChipImage.h"

#include "devices/FuseBitPlace.h"
#include "sim/ChipKind.h"

namespace zavuv::sim {

namespace {

// Plausible oscillator calibration values, one for each byte a chip has.
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
    image.lowFuse = device.factoryFuses.low;
    image.highFuse = device.factoryFuses.high;
    image.extFuse = device.factoryFuses.extended;
    image.calibration.assign(kCalibration, kCalibration + device.calibrationBytes());
    return image;
}

std::uint8_t ChipImage::fuseByte(devices::FuseByte which) const {
    switch (which) {
    case devices::FuseByte::Low:
        break;
    case devices::FuseByte::High:
        return highFuse;
    case devices::FuseByte::Extended:
        return extFuse;
    }
    return lowFuse;
}

void ChipImage::setFuseByte(devices::FuseByte which, std::uint8_t value) {
    switch (which) {
    case devices::FuseByte::Low:
        lowFuse = value;
        return;
    case devices::FuseByte::High:
        highFuse = value;
        return;
    case devices::FuseByte::Extended:
        extFuse = value;
        return;
    }
}

bool ChipImage::fuseProgrammed(std::string_view name) const {
    const devices::LockFuseLayout* layout = devices::layoutOf(deviceIndex);
    const auto place = layout ? devices::fuseBitPlace(*layout, name) : std::nullopt;
    if (!place) {
        return false;
    }
    return (fuseByte(place->byte) & (1u << place->bit)) == 0;
}

void ChipImage::lockMemories() {
    lockHidesSignature = true;
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

#include "link/ModePacket.h"

#include "devices/DeviceTable.h"

namespace zavuv::link {

namespace {

// Indexed by the SCK period list position.
constexpr std::array<std::uint8_t, 8> kSckCodes = {0x80, 0x00, 0x81, 0x01, 0x82, 0x02, 0x03, 0xFF};

constexpr std::uint8_t kAt89S8253SckBit = 0x04;

}  // namespace

int baudRateOf(SpeedCode speed) {
    switch (speed) {
    case SpeedCode::Baud115200:
        return 115200;
    case SpeedCode::Baud921600:
        return 921600;
    case SpeedCode::Baud19200:
        break;
    }
    return 19200;
}

std::uint8_t sckCode(int spiPeriod) {
    // A project file may hold any number; reading past the table would send a
    // random speed to the target.
    if (spiPeriod < 0 || spiPeriod >= static_cast<int>(kSckCodes.size()))
        spiPeriod = kDefaultSpiPeriod;
    return kSckCodes[static_cast<std::size_t>(spiPeriod)];
}

std::uint8_t sckCodeFor(int spiPeriod, const devices::DeviceInfo& device) {
    const std::uint8_t code = sckCode(spiPeriod);
    // The AT89S8253 is the only chip with its own instruction set.
    return device.algorithm == devices::ProgAlgorithm::At89S8253 ? code | kAt89S8253SckBit : code;
}

std::uint8_t sessionSckCode(const ModeSettings& mode) {
    return mode.device ? sckCodeFor(mode.spiPeriod, *mode.device) : sckCode(mode.spiPeriod);
}

std::array<std::uint8_t, 3> modeArguments(SpeedCode speed, std::uint8_t sck, bool polling) {
    return {static_cast<std::uint8_t>(speed), sck, static_cast<std::uint8_t>(polling ? 1 : 0)};
}

}  // namespace zavuv::link

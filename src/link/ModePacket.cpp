#include "link/ModePacket.h"

namespace zavuv::link {

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

std::array<std::uint8_t, 3> modeArguments(SpeedCode speed, std::uint8_t sck, bool polling) {
    return {static_cast<std::uint8_t>(speed), sck, static_cast<std::uint8_t>(polling ? 1 : 0)};
}

}  // namespace zavuv::link

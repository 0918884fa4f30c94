#include "chips/TargetConnect.h"

#include "chips/ChipDriver.h"

namespace zavuv::chips {

using devices::DeviceTable;

bool connectTarget(link::BoardConnection& connection, const link::TargetOptions& options, int port,
                   link::SpeedCode speed) {
    const devices::DeviceInfo& chosen = DeviceTable::at(options.selectedDevice);
    const ChipDriver& chosenDriver = driverFor(chosen);
    const link::BoardSetup setup{
        .deviceCode = static_cast<std::uint8_t>(chosen.boardDeviceCode),
        .connectSck = chosenDriver.connectSckCode(options.spiPeriod),
        .session = {.sck = chosenDriver.sessionSckCode(options.spiPeriod),
                    .polling = options.polling},
    };
    if (!connection.connectBoard(setup, port, speed))
        return false;
    return driverFor(DeviceTable::at(options.deviceNo)).enterProgramming(connection, options);
}

}  // namespace zavuv::chips

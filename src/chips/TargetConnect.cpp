#include "chips/TargetConnect.h"

#include "chips/ChipDriver.h"

namespace zavuv::chips {

using devices::DeviceTable;

link::ModeSettings sessionMode(const link::TargetOptions& options) {
    return {
        .sck = driverFor(DeviceTable::at(options.selectedDevice)).sessionSckCode(options.spiPeriod),
        .polling = options.polling};
}

bool connectTarget(link::BoardConnection& connection, const link::TargetOptions& options, int port,
                   link::SpeedCode speed) {
    const devices::DeviceInfo& chosen = DeviceTable::at(options.selectedDevice);
    const ChipDriver& chosenDriver = driverFor(chosen);
    const link::BoardSetup setup{
        .deviceCode = static_cast<std::uint8_t>(chosen.boardDeviceCode),
        .connectSck = chosenDriver.connectSckCode(options.spiPeriod),
        .session = sessionMode(options),
    };
    if (!connection.connectBoard(setup, port, speed))
        return false;
    return driverFor(DeviceTable::at(options.deviceNo)).enterProgramming(connection, options);
}

}  // namespace zavuv::chips

// The one place that tells the ways of talking to a chip apart.

#include "chips/At25Driver.h"
#include "chips/At89s8252Driver.h"
#include "chips/At89s8253Driver.h"
#include "chips/At89sBytesDriver.h"
#include "chips/BoardCommandsDriver.h"
#include "chips/ChipDriver.h"
#include "chips/DataFlashDriver.h"

namespace zavuv::chips {

using devices::DeviceFamily;
using devices::ProgAlgorithm;

const ChipDriver& driverFor(const devices::DeviceInfo& device) {
    static const BoardCommandsDriver boardCommands;
    static const At89sBytesDriver at89sBytes;
    static const At89s8252Driver at89s8252;
    static const At89s8253Driver at89s8253;
    static const At25Driver at25;
    static const DataFlashDriver dataFlash;
    // A DataFlash shares the AVR algorithm code: its family tells it apart.
    if (device.family == DeviceFamily::At45)
        return dataFlash;
    switch (device.algorithm) {
    case ProgAlgorithm::At89S51:
        return at89sBytes;
    case ProgAlgorithm::At89S8252:
    case ProgAlgorithm::At89S53:
        return at89s8252;
    case ProgAlgorithm::At89S8253:
        return at89s8253;
    case ProgAlgorithm::At25:
        return at25;
    case ProgAlgorithm::Avr:
        break;
    }
    return boardCommands;
}

}  // namespace zavuv::chips

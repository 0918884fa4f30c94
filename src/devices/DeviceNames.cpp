#include "devices/DeviceNames.h"

#include "base/AsciiCase.h"

namespace zavuv::devices {

namespace {

int tableIndexOf(std::string_view name) {
    for (int i = 0; i < DeviceTable::count(); ++i)
        if (base::equalsIgnoringAsciiCase(name, DeviceTable::at(i).name))
            return i;
    return -1;
}

}  // namespace

std::optional<NamedDevice> findDeviceByName(std::string_view name) {
    if (const int index = tableIndexOf(name); index >= 0)
        return NamedDevice{index, DeviceTable::at(index).signature};
    for (const DeviceAlias& alias : deviceAliases()) {
        if (!base::equalsIgnoringAsciiCase(name, alias.alias))
            continue;
        const int index = tableIndexOf(alias.device);
        if (index >= 0)
            return NamedDevice{index, alias.signature};
    }
    return std::nullopt;
}

}  // namespace zavuv::devices

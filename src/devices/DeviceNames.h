#pragma once
// The names a chip goes by: its table name and the usual other names of it
// (members of a combined record, variants with the same signature, speed
// grades, short part ids), all taken in any letter case.

#include <optional>
#include <span>
#include <string_view>

#include "devices/DeviceTable.h"

namespace zavuv::devices {

struct DeviceAlias {
    const char* alias;
    const char* device;   // the table name of the record it stands for
    Signature signature;  // what a chip of this name reports
};

// Every alias, in the order of the alias list.
std::span<const DeviceAlias> deviceAliases();

struct NamedDevice {
    int index;            // in the device table
    Signature signature;  // the record's own, or the alias's (a pair's second member)
};

// The record a table name or an alias stands for, in any letter case.
std::optional<NamedDevice> findDeviceByName(std::string_view name);

}  // namespace zavuv::devices

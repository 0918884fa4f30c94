#pragma once
// Whether this user may open a serial device at all. On Linux the ports belong
// to a group (dialout, uucp) and a user outside it gets "permission denied";
// the person then needs the group's name to fix it.

#include <optional>
#include <string>

namespace zavuv::link {

struct PortPermissionDenied {
    std::string device;  // the path that was refused
    std::string group;   // the group that owns it: membership would open it
};

// Set when the device exists and this user may not read and write it; nothing
// otherwise (also on systems without device groups).
std::optional<PortPermissionDenied> portPermissionDenied(const std::string& devicePath);

}  // namespace zavuv::link

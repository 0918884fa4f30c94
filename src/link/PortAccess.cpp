#include "link/PortAccess.h"

#ifndef _WIN32
#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zavuv::link {

std::optional<PortPermissionDenied>
portPermissionDenied([[maybe_unused]] const std::string& devicePath) {
#ifdef _WIN32
    return std::nullopt;
#else
    struct stat info {};
    if (::stat(devicePath.c_str(), &info) != 0)
        return std::nullopt;
    if (::access(devicePath.c_str(), R_OK | W_OK) == 0 || errno != EACCES)
        return std::nullopt;
    const group* owner = ::getgrgid(info.st_gid);
    return PortPermissionDenied{devicePath,
                                owner ? std::string(owner->gr_name) : std::to_string(info.st_gid)};
#endif
}

}  // namespace zavuv::link

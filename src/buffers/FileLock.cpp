#include "buffers/FileLock.h"

#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace zavuv::buffers {

namespace {

std::string systemReason(int error) {
    return std::generic_category().message(error);
}

}  // namespace

// The POSIX lock: flock on an open descriptor, released when it is closed.
ExclusiveFileLock::ExclusiveFileLock(const std::string& lockPath) {
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        failure_ = systemReason(errno);
        return;
    }
    int locked;
    do
        locked = ::flock(fd, LOCK_EX);
    while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        failure_ = systemReason(errno);
        ::close(fd);
        return;
    }
    handle_ = fd;
}

ExclusiveFileLock::~ExclusiveFileLock() {
    if (held())
        ::close(static_cast<int>(handle_));
}

}  // namespace zavuv::buffers

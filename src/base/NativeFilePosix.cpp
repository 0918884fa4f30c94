#ifndef _WIN32

#include "base/NativeFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zavuv::base {

namespace {

std::error_code lastError() {
    return {errno, std::generic_category()};
}

int openFlags(NativeFile::Access access) {
    switch (access) {
    case NativeFile::Access::CreateNew:
        return O_WRONLY | O_CREAT | O_EXCL;
    case NativeFile::Access::Write:
        return O_WRONLY | O_NOCTTY;
    case NativeFile::Access::Append:
        return O_WRONLY | O_CREAT | O_APPEND;
    case NativeFile::Access::Lock:
        return O_RDWR | O_CREAT;
    }
    return O_RDONLY;
}

}  // namespace

NativeFile::NativeFile(const std::filesystem::path& path, Access access) {
    const int fd = ::open(path.c_str(), openFlags(access) | O_CLOEXEC, 0666);
    if (fd < 0)
        openError_ = lastError();
    else
        handle_ = fd;
}

NativeFile::~NativeFile() {
    close();
}

NativeFile::NativeFile(NativeFile&& other) noexcept
    : handle_(other.handle_), openError_(other.openError_) {
    other.handle_ = kNoHandle;
}

NativeFile& NativeFile::operator=(NativeFile&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = other.handle_;
        openError_ = other.openError_;
        other.handle_ = kNoHandle;
    }
    return *this;
}

std::error_code NativeFile::writeAll(std::span<const std::uint8_t> bytes) {
    const int fd = static_cast<int>(handle_);
    while (!bytes.empty()) {
        const auto written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        // Nothing taken and no reason given: the device is full.
        if (written == 0)
            return std::make_error_code(std::errc::no_space_on_device);
        if (written < 0)
            return lastError();
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return {};
}

std::error_code NativeFile::flushToDisk() {
    return ::fsync(static_cast<int>(handle_)) == 0 ? std::error_code() : lastError();
}

std::error_code NativeFile::lockExclusive() {
    int locked;
    do
        locked = ::flock(static_cast<int>(handle_), LOCK_EX);
    while (locked != 0 && errno == EINTR);
    return locked == 0 ? std::error_code() : lastError();
}

std::uint64_t NativeFile::size() const {
    struct stat info {};
    return ::fstat(static_cast<int>(handle_), &info) == 0 ? static_cast<std::uint64_t>(info.st_size)
                                                          : 0;
}

// Only root may give a file away; anyone else's save is no worse for failing here.
void NativeFile::takeOwnershipOf(const std::filesystem::path& model) {
    struct stat old {};
    if (::stat(model.c_str(), &old) != 0)
        return;
    const int fd = static_cast<int>(handle_);
    (void)::fchown(fd, old.st_uid, old.st_gid);
    (void)::fchmod(fd, old.st_mode & 07777);
}

std::error_code NativeFile::close() {
    if (!isOpen())
        return {};
    const int fd = static_cast<int>(handle_);
    handle_ = kNoHandle;
    return ::close(fd) == 0 ? std::error_code() : lastError();
}

std::error_code replaceFile(const std::filesystem::path& replacement,
                            const std::filesystem::path& target) {
    return ::rename(replacement.c_str(), target.c_str()) == 0 ? std::error_code() : lastError();
}

std::error_code flushFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return lastError();
    const std::error_code error = ::fsync(fd) == 0 ? std::error_code() : lastError();
    ::close(fd);
    return error;
}

}  // namespace zavuv::base

#endif

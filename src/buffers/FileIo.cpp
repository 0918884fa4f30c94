#include "buffers/FileIo.h"

#include <array>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fmt/format.h>

namespace zavuv::buffers {

namespace fs = std::filesystem;

FileContent readWholeFile(const std::string& path, std::size_t maxBytes) {
    FileContent content;
    // The size is only a first guess: the file may be no regular file, or grow
    // while it is read, so the limit is checked again on what is actually read.
    std::error_code sizeError;
    const auto expected = fs::file_size(path, sizeError);
    if (!sizeError && expected > maxBytes) {
        content.status = ReadStatus::TooLarge;
        return content;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return content;
    if (!sizeError)
        content.bytes.reserve(static_cast<std::size_t>(expected));
    std::array<char, 65536> chunk;
    while (in) {
        in.read(chunk.data(), chunk.size());
        const auto got = static_cast<std::size_t>(in.gcount());
        if (content.bytes.size() + got > maxBytes) {
            content.bytes = {};
            content.status = ReadStatus::TooLarge;
            return content;
        }
        content.bytes.insert(content.bytes.end(), chunk.data(), chunk.data() + got);
    }
    if (in.bad()) {
        content.bytes = {};
        return content;
    }
    content.status = ReadStatus::Ok;
    return content;
}

namespace {

// Where the bytes must go: through symbolic links (a chain of them, relative or
// absolute) to the file they name, so that the rename replaces that file and
// not a link.
fs::path finalTarget(const std::string& path) {
    std::error_code error;
    if (!fs::is_symlink(path, error))
        return path;
    auto resolved = fs::weakly_canonical(path, error);
    return error ? fs::path(path) : resolved;
}

// A new file of a fresh name in the folder; the name is short and fixed in
// length so that it fits wherever the target's own name fits.
int createTemporary(const fs::path& folder, fs::path& temporary) {
    std::random_device seed;
    std::mt19937_64 names(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder / fmt::format(".zavuv-{:016x}.tmp", names());
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The replacement keeps the old file's mode, owner and group, so that a save by
// root does not take a user's file over. Only root may give a file away; anyone
// else's save is no worse for failing here.
void keepOwnership(const struct stat& old, int fd) {
    (void)::fchown(fd, old.st_uid, old.st_gid);
    (void)::fchmod(fd, old.st_mode & 07777);
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const auto written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written == 0)
            errno = ENOSPC;  // nothing taken and no reason given: the device is full
        if (written <= 0)
            return false;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

// The rename is on the disk only once the folder is.
bool syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool failWith(std::string* failure, int error) {
    if (failure)
        *failure = std::generic_category().message(error);
    return false;
}

// A device, a pipe or a socket is no file to replace: the bytes are streamed
// into it, as any tool writes to /dev/null, /dev/stdout or a FIFO.
bool writeInPlace(const fs::path& target, std::span<const std::uint8_t> bytes,
                  std::string* failure) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return failWith(failure, errno);
    bool ok = writeAll(fd, bytes);
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    return ok || failWith(failure, error);
}

bool replaceRegularFile(const fs::path& target, const struct stat* old,
                        std::span<const std::uint8_t> bytes, std::string* failure) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    fs::path temporary;
    const int fd = createTemporary(folder, temporary);
    if (fd < 0)
        return failWith(failure, errno);
    if (old)
        keepOwnership(*old, fd);
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return failWith(failure, error);
    }
    return syncFolder(folder) || failWith(failure, errno);
}

}  // namespace

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         std::string* failure) {
    struct stat old;
    // Followed through links: /dev/stdout is a link to a pipe, a terminal or a file.
    if (::stat(path.c_str(), &old) != 0)
        return replaceRegularFile(finalTarget(path), nullptr, bytes, failure);
    if (S_ISDIR(old.st_mode))
        return failWith(failure, EISDIR);
    if (!S_ISREG(old.st_mode))
        return writeInPlace(path, bytes, failure);
    return replaceRegularFile(finalTarget(path), &old, bytes, failure);
}

}  // namespace zavuv::buffers

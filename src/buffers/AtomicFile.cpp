#include "buffers/AtomicFile.h"

#include <system_error>

#include <fmt/format.h>

#ifdef _WIN32
#include <algorithm>

#define NOMINMAX
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zavuv::buffers {

namespace fs = std::filesystem;

namespace {

fs::path resolvedTarget(const fs::path& path) {
    std::error_code error;
    if (fs::is_symlink(path, error)) {
        fs::path target = fs::canonical(path, error);
        if (!error) {
            return target;
        }
    }
    return path;
}

// The process id keeps two programs apart; the exclusive creation moves a
// second save of the same file in this program on to the next attempt's name.
fs::path temporaryName(const fs::path& target, unsigned long processId, int attempt) {
    fs::path name = target;
    name += fmt::format(".{}-{}.tmp", processId, attempt);
    return name;
}

// Bounds the search for a free temporary name; only stale temporaries left by
// an earlier program with the same process id, or many saves of one file at
// the same moment, could use them all up.
constexpr int kNameAttempts = 100;

#ifdef _WIN32

bool writeAndFlush(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return FlushFileBuffers(file) != 0;
}

} // namespace

bool writeFileAtomically(const fs::path& path, std::string_view bytes) {
    const fs::path target = resolvedTarget(path);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const fs::path temporary = temporaryName(target, GetCurrentProcessId(), attempt);
        HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS) {
                continue;
            }
            return false;
        }
        const bool written = writeAndFlush(file, bytes);
        const bool closed = CloseHandle(file) != 0;
        if (written && closed &&
            MoveFileExW(temporary.c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        DeleteFileW(temporary.c_str());
        return false;
    }
    return false;
}

#else

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

int createExclusive(const fs::path& target, fs::path& temporary) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temporary = temporaryName(target, static_cast<unsigned long>(::getpid()), attempt);
        // 0666 lets the umask decide, as for any new file of the user's.
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Makes the rename itself durable; a folder that cannot be synced does not
// undo a save that has already happened.
void syncFolder(const fs::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool writeFileAtomically(const fs::path& path, std::string_view bytes) {
    const fs::path target = resolvedTarget(path);
    fs::path temporary;
    const int fd = createExclusive(target, temporary);
    if (fd < 0) {
        return false;
    }
    struct stat old {};
    bool ok = true;
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    }
    ok = ok && writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(target.parent_path());
    return true;
}

#endif

} // namespace zavuv::buffers

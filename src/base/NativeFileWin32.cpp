#ifdef _WIN32

#include "base/NativeFile.h"

#include <algorithm>

#include <windows.h>

namespace zavuv::base {

namespace {

// A name already taken is told apart portably (a fresh temporary name is
// then tried); every other error keeps the system's own code and text.
std::error_code lastError() {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
        return std::make_error_code(std::errc::file_exists);
    return {static_cast<int>(error), std::system_category()};
}

HANDLE handleOf(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

NativeFile::NativeFile(const std::filesystem::path& path, Access access) {
    DWORD rights = GENERIC_WRITE;
    DWORD disposition = OPEN_EXISTING;
    // Others may read and write as on POSIX; exclusion is the lock's business.
    const DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    switch (access) {
    case Access::CreateNew:
        disposition = CREATE_NEW;
        break;
    case Access::Write:
        break;
    case Access::Append:
        // Reading rights too: LockFileEx and the size need them.
        rights = FILE_APPEND_DATA | GENERIC_READ;
        disposition = OPEN_ALWAYS;
        break;
    case Access::Lock:
        rights = GENERIC_READ | GENERIC_WRITE;
        disposition = OPEN_ALWAYS;
        break;
    }
    const HANDLE handle = CreateFileW(path.c_str(), rights, sharing, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        openError_ = lastError();
    else
        handle_ = reinterpret_cast<std::intptr_t>(handle);
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
    constexpr std::size_t kMaxChunk = 1u << 30;
    while (!bytes.empty()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min(bytes.size(), kMaxChunk));
        if (!WriteFile(handleOf(handle_), bytes.data(), chunk, &written, nullptr))
            return lastError();
        if (written == 0)
            return std::make_error_code(std::errc::no_space_on_device);
        bytes = bytes.subspan(written);
    }
    return {};
}

std::error_code NativeFile::flushToDisk() {
    return FlushFileBuffers(handleOf(handle_)) ? std::error_code() : lastError();
}

std::error_code NativeFile::lockExclusive() {
    OVERLAPPED whole{};
    return LockFileEx(handleOf(handle_), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)
               ? std::error_code()
               : lastError();
}

std::uint64_t NativeFile::size() const {
    LARGE_INTEGER size{};
    return GetFileSizeEx(handleOf(handle_), &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
}

// A replaced file's permissions go with its name (replaceFile).
void NativeFile::takeOwnershipOf(const std::filesystem::path&) {}

std::error_code NativeFile::close() {
    if (!isOpen())
        return {};
    const HANDLE handle = handleOf(handle_);
    handle_ = kNoHandle;
    return CloseHandle(handle) ? std::error_code() : lastError();
}

std::error_code replaceFile(const std::filesystem::path& replacement,
                            const std::filesystem::path& target) {
    const auto replaced = [&] {
        // ReplaceFileW keeps the old file's permissions and attributes; a
        // name that does not exist yet is simply moved to.
        if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES &&
            ReplaceFileW(target.c_str(), replacement.c_str(), nullptr,
                         REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
            return true;
        return MoveFileExW(replacement.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    };
    // Unlike POSIX, Windows refuses to replace a file another process has open
    // for reading (a second station loading the project that is being saved);
    // such readers let go within moments.
    constexpr int kAttempts = 100;
    constexpr DWORD kPauseMs = 20;
    for (int attempt = 1;; ++attempt) {
        if (replaced())
            return {};
        const DWORD error = GetLastError();
        if (attempt == kAttempts ||
            (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION))
            return {static_cast<int>(error), std::system_category()};
        Sleep(kPauseMs);
    }
}

// MOVEFILE_WRITE_THROUGH has the rename on the disk when replaceFile returns.
std::error_code flushFolder(const std::filesystem::path&) {
    return {};
}

}  // namespace zavuv::base

#endif

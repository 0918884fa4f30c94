#pragma once
// A file through the operating system's own calls: no C library buffer, no
// text mode, and the steps a safe save needs (write everything, reach the
// disk, take another file's name, lock against other processes). Closed with
// the object.

#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>

namespace zavuv::base {

class NativeFile {
public:
    enum class Access {
        CreateNew,  // a new file for writing; fails when the name exists
        Write,      // an existing file (or device) written from its start
        Append,     // created when missing; every write goes to the end
        Lock,       // created when missing; opened only to be locked
    };

    NativeFile() = default;
    NativeFile(const std::filesystem::path& path, Access access);
    ~NativeFile();
    NativeFile(NativeFile&& other) noexcept;
    NativeFile& operator=(NativeFile&& other) noexcept;
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;

    bool isOpen() const { return handle_ != kNoHandle; }
    // Why the file did not open.
    const std::error_code& openError() const { return openError_; }

    std::error_code writeAll(std::span<const std::uint8_t> bytes);
    std::error_code flushToDisk();
    // Waits until no other process holds the lock; held until the file closes.
    std::error_code lockExclusive();
    // The file's size now, or 0 when it cannot be told.
    std::uint64_t size() const;
    // Gives the file the owner, group and permissions of `model` where the
    // system keeps them per file and the caller may set them (POSIX).
    void takeOwnershipOf(const std::filesystem::path& model);
    std::error_code close();

private:
    static constexpr std::intptr_t kNoHandle = -1;
    std::intptr_t handle_ = kNoHandle;
    std::error_code openError_;
};

// `replacement` takes the name `target` in one step: a reader sees the old
// file or the new one, never a mixture. The replaced file's permissions go
// with its name where the system keeps them per name (Windows).
std::error_code replaceFile(const std::filesystem::path& replacement,
                            const std::filesystem::path& target);

// Makes the renames in `folder` survive a power cut (a no-op where the rename
// itself is written through).
std::error_code flushFolder(const std::filesystem::path& folder);

}  // namespace zavuv::base

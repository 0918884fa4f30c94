#pragma once
// An exclusive lock on a file of its own, held for the life of the object:
// processes that lock the same file take turns. The lock file is created when
// missing and is never renamed or removed, so every process locks the same one.

#include <cstdint>
#include <string>

namespace zavuv::buffers {

class ExclusiveFileLock {
public:
    // Waits until no other process holds the lock. held() tells whether it was
    // had; when not, failure() is the system's reason.
    explicit ExclusiveFileLock(const std::string& lockPath);
    ~ExclusiveFileLock();
    ExclusiveFileLock(const ExclusiveFileLock&) = delete;
    ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;

    bool held() const { return handle_ != kNoHandle; }
    const std::string& failure() const { return failure_; }

private:
    static constexpr std::intptr_t kNoHandle = -1;
    std::intptr_t handle_ = kNoHandle;  // the platform's file handle
    std::string failure_;
};

}  // namespace zavuv::buffers

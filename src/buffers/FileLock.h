#pragma once
// An exclusive lock on a file of its own, held for the life of the object:
// processes that lock the same file take turns. The lock file is created when
// missing and is never renamed or removed, so every process locks the same one.

#include <string>

#include "base/NativeFile.h"

namespace zavuv::buffers {

class ExclusiveFileLock {
public:
    // Waits until no other process holds the lock. held() tells whether it was
    // had; when not, failure() is the system's reason.
    explicit ExclusiveFileLock(const std::string& lockPath);

    bool held() const { return file_.isOpen(); }
    const std::string& failure() const { return failure_; }

private:
    base::NativeFile file_;
    std::string failure_;
};

}  // namespace zavuv::buffers

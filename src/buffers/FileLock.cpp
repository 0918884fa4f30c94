#include "buffers/FileLock.h"

#include "base/Utf8Path.h"

namespace zavuv::buffers {

ExclusiveFileLock::ExclusiveFileLock(const std::string& lockPath)
    : file_(base::utf8Path(lockPath), base::NativeFile::Access::Lock) {
    if (!file_.isOpen()) {
        failure_ = file_.openError().message();
        return;
    }
    if (const std::error_code error = file_.lockExclusive()) {
        failure_ = error.message();
        file_.close();
    }
}

}  // namespace zavuv::buffers

#pragma once
// A full disk, made on purpose: while a FileSizeLimit lives, this process
// cannot write files beyond the given size, and a write that crosses it fails
// part-way. Windows has no such per-process limit; tests that need one skip
// there (ZAVUV_SKIP_WITHOUT_FILE_SIZE_LIMIT).

#include <cstdint>

#ifdef _WIN32

#define ZAVUV_SKIP_WITHOUT_FILE_SIZE_LIMIT()                                                       \
    GTEST_SKIP() << "Windows has no per-process file size limit to make a full disk with"

namespace zavuv::testing {

class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uint64_t) {}
};

}  // namespace zavuv::testing

#else

#include <csignal>
#include <sys/resource.h>

#define ZAVUV_SKIP_WITHOUT_FILE_SIZE_LIMIT() static_cast<void>(0)

namespace zavuv::testing {

class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uint64_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limited = saved_;
        limited.rlim_cur = static_cast<rlim_t>(bytes);
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
};

}  // namespace zavuv::testing

#endif

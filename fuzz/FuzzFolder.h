#pragma once
// One scratch folder per fuzzing process for the targets that go through
// files; it is removed when the process ends normally.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

#include <unistd.h>

namespace zavuv::fuzz {

class FuzzFolder {
public:
    FuzzFolder() {
        // Memory rather than disk where there is one: every save waits for its
        // bytes to reach the disk, which would cost most of the time.
        std::error_code error;
        const auto parent = std::filesystem::is_directory("/dev/shm", error)
                                ? std::filesystem::path("/dev/shm")
                                : std::filesystem::temp_directory_path();
        const auto pattern = parent / "zavuv-fuzz-XXXXXX";
        std::string name = pattern.string();
        if (::mkdtemp(name.data()) != nullptr)
            path_ = name;
    }
    ~FuzzFolder() {
        std::error_code ignored;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ignored);
    }
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }

    // Puts the bytes into the named file; returns its path.
    std::string write(const std::string& name, std::span<const std::uint8_t> bytes) const {
        const std::string path = file(name);
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }

private:
    std::filesystem::path path_;
};

// The process's folder, made on first use.
inline const FuzzFolder& fuzzFolder() {
    static const FuzzFolder folder;
    return folder;
}

}  // namespace zavuv::fuzz

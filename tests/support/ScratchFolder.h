#pragma once
// A scratch folder for one test, removed with everything in it afterwards, and
// small helpers to put bytes into files and take them out again.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "base/Utf8Path.h"

namespace zavuv::testing {

inline std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

class ScratchFolder {
public:
    ScratchFolder() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("zavuv-test-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // In the system's own form ("a/b" is "a\\b" on Windows), as the program
    // prints names it has resolved.
    std::string file(const std::string& name) const {
        return base::utf8Name((path_ / base::utf8Path(name)).make_preferred());
    }

    std::string write(const std::string& name, std::string_view content) const {
        std::ofstream(base::utf8Path(file(name)), std::ios::binary) << content;
        return file(name);
    }

    std::string write(const std::string& name, const std::vector<std::uint8_t>& content) const {
        return write(
            name, std::string_view(reinterpret_cast<const char*>(content.data()), content.size()));
    }

    static std::string read(const std::string& path) {
        std::ifstream in(base::utf8Path(path), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    // Names in the folder, to see that no temporary file was left behind.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_))
            names.push_back(e.path().filename().string());
        return names;
    }

private:
    std::filesystem::path path_;
};

}  // namespace zavuv::testing

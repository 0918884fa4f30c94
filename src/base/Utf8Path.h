#pragma once
// File names travel through the program as UTF-8 strings. Windows reads a
// narrow string as its ANSI code page, so a name leaves or enters a string
// only through these two, which say what the bytes are.

#include <filesystem>
#include <string>
#include <string_view>

namespace zavuv::base {

inline std::filesystem::path utf8Path(std::string_view name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

inline std::string utf8Name(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

// With forward slashes on every system, for names stored in files that may
// move between systems.
inline std::string utf8GenericName(const std::filesystem::path& path) {
    const std::u8string name = path.generic_u8string();
    return std::string(name.begin(), name.end());
}

}  // namespace zavuv::base

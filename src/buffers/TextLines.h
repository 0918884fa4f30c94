#pragma once
// The lines of a text image file (Intel HEX, S-record): an optional UTF-8 byte
// order mark first, lines ending in LF or CR LF, trailing white space ignored.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <span>

namespace zavuv::buffers {

inline constexpr std::array<std::uint8_t, 3> kUtf8Bom = {0xEF, 0xBB, 0xBF};

inline std::span<const std::uint8_t> withoutBom(std::span<const std::uint8_t> text) {
    if (text.size() >= kUtf8Bom.size() && std::ranges::equal(text.first(kUtf8Bom.size()), kUtf8Bom))
        return text.subspan(kUtf8Bom.size());
    return text;
}

inline bool isTextSpace(std::uint8_t c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Takes the next line off `text`: its characters without the line feed and
// without trailing white space. Call while `text` is not empty.
inline std::span<const std::uint8_t> takeLine(std::span<const std::uint8_t>& text) {
    const void* newline = std::memchr(text.data(), '\n', text.size());
    const std::size_t length =
        newline != nullptr
            ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(newline) - text.data())
            : text.size();
    auto line = text.first(length);
    text = text.subspan(std::min(length + 1, text.size()));
    while (!line.empty() && isTextSpace(line.back()))
        line = line.first(line.size() - 1);
    return line;
}

// The first line that is not blank, or an empty span when there is none.
inline std::span<const std::uint8_t> firstTextLine(std::span<const std::uint8_t> text) {
    text = withoutBom(text);
    while (!text.empty()) {
        const auto line = takeLine(text);
        if (!line.empty())
            return line;
    }
    return {};
}

}  // namespace zavuv::buffers

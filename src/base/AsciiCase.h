#pragma once
// Letter case folded for ASCII only: bytes of other letters (UTF-8 sequences)
// compare as they are, so no locale can change what matches.

#include <algorithm>
#include <string_view>

namespace zavuv::base {

constexpr char toAsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

constexpr bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b,
                              [](char x, char y) { return toAsciiLower(x) == toAsciiLower(y); });
}

}  // namespace zavuv::base

#pragma once
// Hex digits of the text image formats, both ways.

#include <array>
#include <cstdint>
#include <string>

namespace zavuv::buffers {

// The digit's value, or -1 for a character that is no hex digit (either case).
inline int hexDigitValue(std::uint8_t c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The byte from two digits, or -1 when either is no hex digit.
inline int hexPairValue(std::uint8_t high, std::uint8_t low) {
    const int h = hexDigitValue(high);
    const int l = hexDigitValue(low);
    return h < 0 || l < 0 ? -1 : h << 4 | l;
}

// Appends the byte as two upper-case digits.
inline void appendHexByte(std::string& out, std::uint8_t byte) {
    constexpr std::array<char, 16> kDigits = {'0', '1', '2', '3', '4', '5', '6', '7',
                                              '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
    out.push_back(kDigits[byte >> 4]);
    out.push_back(kDigits[byte & 0x0F]);
}

}  // namespace zavuv::buffers

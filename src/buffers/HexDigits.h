#pragma once
// Hex digits of the text image formats, both ways.

#include <array>
#include <cstdint>
#include <string>

namespace zavuv::buffers {

// Each character's value as a hex digit, -1 for the others: a look-up, since
// decoding digits is most of the time a large file takes to read.
inline constexpr std::array<std::int8_t, 256> kHexDigitValues = [] {
    std::array<std::int8_t, 256> values{};
    values.fill(-1);
    for (int i = 0; i < 10; ++i)
        values['0' + i] = static_cast<std::int8_t>(i);
    for (int i = 0; i < 6; ++i) {
        values['A' + i] = static_cast<std::int8_t>(10 + i);
        values['a' + i] = static_cast<std::int8_t>(10 + i);
    }
    return values;
}();

// The byte from two digits (either case), or -1 when either is no hex digit.
inline int hexPairValue(std::uint8_t high, std::uint8_t low) {
    const int h = kHexDigitValues[high];
    const int l = kHexDigitValues[low];
    return (h | l) < 0 ? -1 : h << 4 | l;
}

// Appends the byte as two upper-case digits.
inline void appendHexByte(std::string& out, std::uint8_t byte) {
    constexpr std::array<char, 16> kDigits = {'0', '1', '2', '3', '4', '5', '6', '7',
                                              '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
    out.push_back(kDigits[byte >> 4]);
    out.push_back(kDigits[byte & 0x0F]);
}

}  // namespace zavuv::buffers

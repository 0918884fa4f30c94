#include "Utf8.h"

#include <cstdint>

namespace zavuv::text::testing {

namespace {

// Length of the sequence that `lead` starts, 0 for a byte that cannot start one.
int sequenceLength(std::uint8_t lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

bool isContinuation(std::uint8_t byte) {
    return (byte & 0xC0) == 0x80;
}

// The lead byte decides the allowed range of the second byte: this is what
// excludes overlong forms, surrogates and code points above U+10FFFF.
bool secondByteAllowed(std::uint8_t lead, std::uint8_t second) {
    switch (lead) {
    case 0xE0:
        return second >= 0xA0;
    case 0xED:
        return second <= 0x9F;
    case 0xF0:
        return second >= 0x90;
    case 0xF4:
        return second <= 0x8F;
    default:
        return true;
    }
}

}  // namespace

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<std::uint8_t>(text[i]);
        const int length = sequenceLength(lead);
        if (length == 0 || text.size() - i < static_cast<std::size_t>(length))
            return false;
        for (int k = 1; k < length; ++k)
            if (!isContinuation(static_cast<std::uint8_t>(text[i + k])))
                return false;
        if (length > 1 && !secondByteAllowed(lead, static_cast<std::uint8_t>(text[i + 1])))
            return false;
        i += length;
    }
    return true;
}

}  // namespace zavuv::text::testing

#pragma once
// The characters the preview shows for bytes: the DOS (OEM) code page with
// Cyrillic letters in the upper half, the picture characters below 0x20, and
// nothing for a zero byte. Typing a character stores the byte it stands for.

#include <cstdint>
#include <optional>

namespace zavuv::buffers {

// The character for a byte; U'\0' for the zero byte, which shows nothing.
char32_t oemGlyph(std::uint8_t byte);

// The byte that shows this character, if any (not the zero byte).
std::optional<std::uint8_t> oemByte(char32_t glyph);

}  // namespace zavuv::buffers

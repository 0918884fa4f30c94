#include "buffers/OemGlyphs.h"

#include <string_view>

namespace zavuv::buffers {

namespace {

using namespace std::string_view_literals;

// The zero byte's entry is a NUL: the view is built with its full length.
constexpr std::u32string_view kControlGlyphs = U"\0☺☻♥♦♣♠•◘○◙♂♀♪♫☼►◄↕‼¶§▬↨↑↓→←∟↔▲▼"sv;
constexpr char32_t kDeleteGlyph = U'⌂';
constexpr std::u32string_view kUpperHalf = U"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"
                                           U"абвгдежзийклмноп"
                                           U"░▒▓│┤╡╢╖╕╣║╗╝╜╛┐└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀"
                                           U"рстуфхцчшщъыьэюя"
                                           U"ЁёЄєЇїЎў°∙·√№¤■\u00A0";
static_assert(kControlGlyphs.size() == 0x20);
static_assert(kUpperHalf.size() == 0x80);

}  // namespace

char32_t oemGlyph(std::uint8_t byte) {
    if (byte < 0x20)
        return kControlGlyphs[byte];
    if (byte < 0x7F)
        return byte;
    if (byte == 0x7F)
        return kDeleteGlyph;
    return kUpperHalf[byte - 0x80u];
}

std::optional<std::uint8_t> oemByte(char32_t glyph) {
    for (unsigned byte = 1; byte <= 0xFF; ++byte)
        if (oemGlyph(static_cast<std::uint8_t>(byte)) == glyph)
            return static_cast<std::uint8_t>(byte);
    return std::nullopt;
}

}  // namespace zavuv::buffers

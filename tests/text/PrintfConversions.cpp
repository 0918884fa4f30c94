#include "PrintfConversions.h"

namespace zavuv::text::testing {

namespace {

constexpr std::string_view kFlags = "-+ #0";
constexpr std::string_view kConversions = "diouxXeEfFgGaAcsp%";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Advances `pos` over the characters of `text` that satisfy `accept`.
template <typename Predicate>
void skipWhile(std::string_view text, std::size_t& pos, Predicate accept) {
    while (pos < text.size() && accept(text[pos]))
        ++pos;
}

void skipNumberOrStar(std::string_view text, std::size_t& pos) {
    if (pos < text.size() && text[pos] == '*')
        ++pos;
    else
        skipWhile(text, pos, isDigit);
}

void skipLength(std::string_view text, std::size_t& pos) {
    for (std::string_view length : {"hh", "ll", "h", "l", "j", "z", "t", "L"}) {
        if (text.substr(pos).starts_with(length)) {
            pos += length.size();
            return;
        }
    }
}

}  // namespace

std::optional<std::vector<std::string>> printfConversions(std::string_view text) {
    std::vector<std::string> conversions;
    std::size_t pos = 0;
    while ((pos = text.find('%', pos)) != std::string_view::npos) {
        const std::size_t start = pos++;
        skipWhile(text, pos, [](char c) { return kFlags.find(c) != std::string_view::npos; });
        skipNumberOrStar(text, pos);
        if (pos < text.size() && text[pos] == '.') {
            ++pos;
            skipNumberOrStar(text, pos);
        }
        skipLength(text, pos);
        if (pos == text.size() || kConversions.find(text[pos]) == std::string_view::npos)
            return std::nullopt;
        ++pos;
        const std::string_view spec = text.substr(start, pos - start);
        // "%%" takes no argument and allows nothing between the two signs.
        if (spec.back() == '%' && spec.size() != 2)
            return std::nullopt;
        conversions.emplace_back(spec);
    }
    return conversions;
}

std::optional<std::vector<std::vector<std::string>>>
printfConversionsPerLine(std::string_view text) {
    std::vector<std::vector<std::string>> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find('\n', start);
        auto line = printfConversions(text.substr(start, end - start));
        if (!line)
            return std::nullopt;
        lines.push_back(std::move(*line));
        if (end == std::string_view::npos)
            return lines;
        start = end + 1;
    }
}

}  // namespace zavuv::text::testing

#pragma once
// Test helper: the printf conversion directives of a message text, so that
// a translation can be checked against the original for the argument list that
// the callers pass.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zavuv::text::testing {

// The conversion directives of `text` in order, each as written ("%02X",
// "%%", "%s"), or nullopt when a '%' does not start a complete directive
// (flags, width, precision, length, conversion).
std::optional<std::vector<std::string>> printfConversions(std::string_view text);

// The same, one list per line of the text (lines split at '\n').
std::optional<std::vector<std::vector<std::string>>>
printfConversionsPerLine(std::string_view text);

}  // namespace zavuv::text::testing

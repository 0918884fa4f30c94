#pragma once
// Test helper: strict UTF-8 validation (no overlong forms, no surrogates,
// nothing above U+10FFFF), for the tables' texts.

#include <string_view>

namespace zavuv::text::testing {

bool isValidUtf8(std::string_view text);

}  // namespace zavuv::text::testing

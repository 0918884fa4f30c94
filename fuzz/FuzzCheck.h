#pragma once
// The properties the targets check on the code under test: a broken one is a
// finding like a crash, so it aborts and libFuzzer keeps the input.

#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace zavuv::fuzz {

// Images up to this size are saved and read back; larger ones cost more time
// than they find. 2 MB covers both the type 02 and the type 04 HEX forms.
inline constexpr std::size_t kRoundTripLimit = 2 * 1024 * 1024;

inline void require(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

}  // namespace zavuv::fuzz

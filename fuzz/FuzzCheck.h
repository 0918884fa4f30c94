#pragma once
// A property the target checks on the code under test. A broken one is a
// finding like a crash: it aborts, so that libFuzzer keeps the input.

#include <cstdio>
#include <cstdlib>

namespace zavuv::fuzz {

inline void require(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

}  // namespace zavuv::fuzz

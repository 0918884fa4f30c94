#pragma once
// Reproducible random bytes: the same seed gives the same bytes.

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace zavuv::testing {

inline std::vector<std::uint8_t> randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(random());
    return bytes;
}

}  // namespace zavuv::testing

#pragma once
// How large memory files and images may be. The image limit covers the largest
// DataFlash (8,650,752 bytes) with room to spare; the input limit covers that
// image written as Intel HEX text (about 2.75 characters per byte).

#include <cstddef>

namespace zavuv::buffers {

// A file longer than this is refused whole, never cut.
inline constexpr std::size_t kMaxInputFileSize = 0x4000000;  // 64 MB

// No buffer image grows beyond this many bytes.
inline constexpr std::size_t kMaxImageSize = 0x1000000;  // 16 MB

}  // namespace zavuv::buffers

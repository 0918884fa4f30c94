#include "buffers/ImageSegments.h"

#include <algorithm>

namespace zavuv::buffers {

namespace {

constexpr std::uint64_t kAddressSpaceEnd = std::uint64_t{1} << 32;

}  // namespace

std::size_t dataByteCount(const ImageSegments& image) {
    std::size_t count = 0;
    for (const auto& segment : image)
        count += segment.bytes.size();
    return count;
}

std::uint64_t endAddress(const ImageSegments& image) {
    return image.empty() ? 0 : image.back().end();
}

bool isWellFormed(const ImageSegments& image) {
    std::uint64_t previousEnd = 0;
    for (std::size_t i = 0; i < image.size(); ++i) {
        const auto& segment = image[i];
        if (segment.bytes.empty() || segment.end() > kAddressSpaceEnd)
            return false;
        if (i > 0 && segment.address <= previousEnd)
            return false;
        previousEnd = segment.end();
    }
    return true;
}

SplitImage splitImage(const ImageSegments& image, AddressRange range) {
    SplitImage split;
    // Appends bytes [from, to) of the segment, rebased by `base`.
    auto take = [](ImageSegments& to, const ImageSegment& segment, std::uint64_t from,
                   std::uint64_t until, std::uint64_t base) {
        if (from >= until)
            return;
        const auto first =
            segment.bytes.begin() + static_cast<std::ptrdiff_t>(from - segment.address);
        const auto last =
            segment.bytes.begin() + static_cast<std::ptrdiff_t>(until - segment.address);
        to.push_back({static_cast<std::uint32_t>(from - base), {first, last}});
    };
    for (const auto& segment : image) {
        const std::uint64_t begin = segment.address;
        const std::uint64_t end = segment.end();
        const std::uint64_t insideBegin = std::clamp(range.begin, begin, end);
        const std::uint64_t insideEnd = std::clamp(range.end, insideBegin, end);
        if (insideBegin == insideEnd) {
            split.outside.push_back(segment);
            continue;
        }
        take(split.outside, segment, begin, insideBegin, 0);
        take(split.inside, segment, insideBegin, insideEnd, range.begin);
        take(split.outside, segment, insideEnd, end, 0);
    }
    return split;
}

std::vector<std::uint8_t> flatten(const ImageSegments& image, std::uint8_t fill) {
    std::vector<std::uint8_t> flat(static_cast<std::size_t>(endAddress(image)), fill);
    for (const auto& segment : image)
        std::ranges::copy(segment.bytes, flat.begin() + segment.address);
    return flat;
}

}  // namespace zavuv::buffers

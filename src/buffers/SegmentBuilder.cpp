#include "buffers/SegmentBuilder.h"

#include <algorithm>

namespace zavuv::buffers {

void SegmentBuilder::add(std::uint32_t address, std::span<const std::uint8_t> bytes,
                         std::size_t origin) {
    if (bytes.empty())
        return;
    runs_.push_back({address, static_cast<std::uint32_t>(bytes.size()), pool_.size(), origin});
    pool_.insert(pool_.end(), bytes.begin(), bytes.end());
}

std::variant<ImageSegments, SegmentBuilder::Conflict> SegmentBuilder::finish() {
    std::vector<Run> runs = std::move(runs_);
    std::vector<std::uint8_t> pool = std::move(pool_);
    runs_.clear();
    pool_.clear();
    // Files list their records in address order almost always: then no sort.
    if (!std::ranges::is_sorted(runs, {}, &Run::address))
        std::ranges::stable_sort(runs, {}, &Run::address);

    // Each segment's size first, so that its bytes are allocated once rather
    // than regrown record by record.
    std::vector<std::uint64_t> sizes;
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
    for (const Run& run : runs) {
        if (sizes.empty() || run.address > end) {
            if (!sizes.empty())
                sizes.back() = end - begin;
            sizes.push_back(0);
            begin = run.address;
        }
        end = std::max(end, std::uint64_t{run.address} + run.size);
    }
    if (!sizes.empty())
        sizes.back() = end - begin;

    ImageSegments image;
    for (const Run& run : runs) {
        const std::span<const std::uint8_t> bytes(pool.data() + run.poolOffset, run.size);
        if (image.empty() || run.address > image.back().end()) {
            image.push_back({run.address, {}});
            image.back().bytes.reserve(static_cast<std::size_t>(sizes[image.size() - 1]));
            image.back().bytes.assign(bytes.begin(), bytes.end());
            continue;
        }
        // Sorted by start, a run can only meet the last segment.
        auto& segment = image.back().bytes;
        const std::size_t offset = run.address - image.back().address;
        const std::size_t repeated = std::min(segment.size() - offset, bytes.size());
        const auto head = bytes.first(repeated);
        const auto [mine, theirs] =
            std::ranges::mismatch(head, std::span(segment).subspan(offset, repeated));
        if (mine != head.end())
            return Conflict{run.address + static_cast<std::uint64_t>(mine - bytes.begin()),
                            run.origin};
        segment.insert(segment.end(), bytes.begin() + static_cast<std::ptrdiff_t>(repeated),
                       bytes.end());
    }
    return image;
}

}  // namespace zavuv::buffers

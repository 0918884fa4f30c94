// The S-record reader on any bytes: it reads them or names a defect. What it
// reads is a well-formed image within the limit, and the writer's text of it
// reads back as the same image and header, with no defect and no checksum
// question.

#include <cstddef>
#include <cstdint>
#include <span>
#include <variant>

#include "FuzzCheck.h"
#include "buffers/FileLimits.h"
#include "buffers/SRecord.h"

using namespace zavuv;
using namespace zavuv::buffers;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte chooses whether wrong checksums are accepted and the
    // limit: the image limit, or the whole 32-bit address space.
    const SRecordReadOptions options{
        (data[0] & 2) != 0 ? std::uint64_t{kMaxImageSize} : std::uint64_t{1} << 32,
        (data[0] & 1) != 0 ? ChecksumPolicy::Accept : ChecksumPolicy::Check};
    const auto result = readSRecord(std::span(data + 1, size - 1), options);
    const auto* image = std::get_if<SRecordImage>(&result);
    if (image == nullptr)
        return 0;
    fuzz::require(isWellFormed(image->segments), "the image is sorted, apart and not empty");
    fuzz::require(endAddress(image->segments) <= options.addressLimit,
                  "no byte at or beyond the limit");

    const std::string text = writeSRecord(image->segments, image->header);
    const auto again =
        readSRecord(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                    {options.addressLimit, ChecksumPolicy::Check});
    const auto* reread = std::get_if<SRecordImage>(&again);
    fuzz::require(reread != nullptr, "the written S-records read back without a defect");
    fuzz::require(reread->segments == image->segments, "the written S-records hold the image");
    fuzz::require(reread->header == image->header, "the written S-records keep the header");
    return 0;
}

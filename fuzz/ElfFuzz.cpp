// The ELF reader on any bytes: it reads them or names a defect, never reading
// outside them. What it reads lies within the AVR's memories and is never more
// than the file holds, and the memories written as S-records read back the
// same.

#include <cstddef>
#include <cstdint>
#include <span>
#include <variant>

#include "FuzzCheck.h"
#include "buffers/ElfImage.h"
#include "buffers/SRecord.h"

using namespace zavuv;
using namespace zavuv::buffers;

namespace {

void requireRoundTrip(const ImageSegments& memory, std::uint64_t size) {
    fuzz::require(isWellFormed(memory), "a memory is sorted, apart and not empty");
    fuzz::require(endAddress(memory) <= size, "a memory ends within its size");
    const std::string text = writeSRecord(memory, {});
    const auto again =
        readSRecord(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                    {size, ChecksumPolicy::Check});
    const auto* reread = std::get_if<SRecordImage>(&again);
    fuzz::require(reread != nullptr && reread->segments == memory,
                  "a memory written as S-records reads back the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto result = readElfImage(std::span(data, size));
    const auto* image = std::get_if<ElfImage>(&result);
    if (image == nullptr)
        return 0;
    fuzz::require(dataByteCount(image->flash) + dataByteCount(image->eeprom) <= size,
                  "the image is no larger than the file");
    fuzz::require(image->fuses.size() <= 3, "at most three fuse bytes");
    requireRoundTrip(image->flash, kAvrFlashRange.end - kAvrFlashRange.begin);
    requireRoundTrip(image->eeprom, kAvrEepromRange.end - kAvrEepromRange.begin);
    return 0;
}

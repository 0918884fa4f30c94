// The Intel HEX reader on any bytes: it either decodes them or names a defect
// at a line of the text, and whatever image it decodes, the writer's text of it
// reads back the same.

#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzCheck.h"
#include "buffers/IntelHex.h"

using namespace zavuv;
using namespace zavuv::buffers;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte chooses whether wrong checksums are accepted; the rest is the file.
    const HexReadOptions options{fuzz::kRoundTripLimit, (data[0] & 1) != 0 ? ChecksumPolicy::Accept
                                                                           : ChecksumPolicy::Check};
    const auto result = readIntelHex(std::span(data + 1, size - 1), options);
    const auto* image = std::get_if<ImageSegments>(&result);
    if (image == nullptr)
        return 0;
    fuzz::require(isWellFormed(*image), "the image is sorted and apart");
    fuzz::require(endAddress(*image) <= options.addressLimit, "the image stays below the limit");

    const std::string text = writeIntelHex(*image);
    const auto again =
        readIntelHex(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                     {options.addressLimit, ChecksumPolicy::Check});
    fuzz::require(std::holds_alternative<ImageSegments>(again) &&
                      std::get<ImageSegments>(again) == *image,
                  "the written HEX text reads back");
    return 0;
}

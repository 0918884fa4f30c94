// The Intel HEX reader on any bytes: it either decodes them or declines, and
// whatever image it decodes, the writer's text of it reads back the same
// without a question.

#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzCheck.h"
#include "FuzzUserPort.h"
#include "buffers/IntelHex.h"

using namespace zavuv;

namespace {
// Round trips of larger images cost more time than they find: 2 MB covers
// both the type 02 and the type 04 forms of the writer.
constexpr std::size_t kRoundTripLimit = 2 * 1024 * 1024;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte answers the checksum question; the rest is the file.
    fuzz::FuzzUserPort person;
    person.agree = (data[0] & 1) != 0;
    const auto image = buffers::readIntelHex(std::span(data + 1, size - 1), person);
    if (!image || image->size() > kRoundTripLimit)
        return 0;

    const std::string text = buffers::writeIntelHex(*image);
    fuzz::FuzzUserPort silent;
    const auto again = buffers::readIntelHex(
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), silent);
    fuzz::require(silent.questions == 0, "the written HEX text raises a question");
    fuzz::require(again.has_value() && *again == *image, "the written HEX text reads back");
    return 0;
}

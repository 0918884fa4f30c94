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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte answers the checksum question; the rest is the file.
    fuzz::FuzzUserPort person;
    person.agree = (data[0] & 1) != 0;
    const auto image = buffers::readIntelHex(std::span(data + 1, size - 1), person);
    if (!image || image->size() > fuzz::kRoundTripLimit)
        return 0;

    const std::string text = buffers::writeIntelHex(*image);
    fuzz::FuzzUserPort silent;
    const auto again = buffers::readIntelHex(
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), silent);
    fuzz::require(silent.questions == 0, "the written HEX text raises no question");
    fuzz::require(again.has_value() && *again == *image, "the written HEX text reads back");
    return 0;
}

// A memory file of any content, loaded as the Load and Load At commands do,
// into the Flash or the EEPROM buffer, under any of the names that pick its
// decoding. What loads is whole and within the image limit, and saving it
// as HEX or binary and loading that file again gives the same bytes.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "FuzzCheck.h"
#include "FuzzFolder.h"
#include "FuzzUserPort.h"
#include "buffers/FileLimits.h"
#include "buffers/MemoryBuffer.h"

using namespace zavuv;
using buffers::MemoryBuffer;

namespace {

void requireWhole(const MemoryBuffer& buffer) {
    fuzz::require(buffer.size() <= buffers::kMaxImageSize, "the image stays within its limit");
    fuzz::require(buffer.byteStates().size() == buffer.size(), "one state per byte");
    fuzz::require(buffer.isEeprom() || buffer.size() % 2 == 0, "a Flash image holds whole words");
}

// The same bytes saved under this name (its extension picks HEX or binary)
// load back unchanged.
void requireRoundTrip(const MemoryBuffer& loaded, const std::string& name) {
    fuzz::FuzzUserPort person;
    MemoryBuffer writer(loaded.isEeprom(), person);
    writer.create(loaded.size());
    std::ranges::copy(loaded.data(), writer.mutableData().begin());
    const std::string path = fuzz::fuzzFolder().file(name);
    fuzz::require(writer.saveAs(path), "the image can be saved");
    MemoryBuffer copy(loaded.isEeprom(), person);
    copy.loadFile(path);
    fuzz::require(std::ranges::equal(copy.data(), loaded.data()), "the saved file loads back");
}

std::optional<long long> chosenAddress(std::uint8_t choice, int proposed) {
    const std::array<std::optional<long long>, 8> addresses{
        std::nullopt, 0, 8, proposed, proposed + 3LL, buffers::kMaxImageSize - 1, 1LL << 40, -1};
    return addresses[choice % addresses.size()];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte picks the name, the buffer, the answers and the Load At
    // address; the rest is the file.
    const std::uint8_t choice = data[0];
    const std::array<const char*, 4> names{"image.hex", "image.BIN", "image.eep", "image.dat"};
    const std::string path =
        fuzz::fuzzFolder().write(names[choice % 4], std::span(data + 1, size - 1));
    const bool isEeprom = (choice & 0x04) != 0;
    fuzz::FuzzUserPort person;
    person.agree = (choice & 0x08) != 0;

    MemoryBuffer buffer(isEeprom, person);
    fuzz::require(buffer.loadFile(path), "loading fails only without memory");
    requireWhole(buffer);
    if (buffer.size() > 0 && buffer.size() <= fuzz::kRoundTripLimit) {
        requireRoundTrip(buffer, "copy.hex");
        requireRoundTrip(buffer, "copy.bin");
    }

    MemoryBuffer merged(isEeprom, person);
    merged.create(16);
    fuzz::require(
        merged.loadAt(path, [&](int proposed) { return chosenAddress(choice >> 4, proposed); }),
        "Load At into a filled buffer fails only without memory");
    requireWhole(merged);
    return 0;
}

// The INI reader and writer on any text: the text comes back byte for byte,
// and a key that was written reads back as written, from the edited file and
// from its text read anew, while another key keeps its value.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "base/AsciiCase.h"
#include "buffers/IniFile.h"

using namespace zavuv;
using buffers::IniFile;

namespace {

constexpr std::string_view kMissing = "\x01missing";

// Whitespace around names and values, as the INI code sees it.
std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool sameName(std::string_view a, std::string_view b) {
    return base::equalsIgnoringAsciiCase(trimmed(a), trimmed(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The key to write, another key to watch, then the file's text.
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString();
    const std::string key = input.ConsumeRandomLengthString();
    const std::string value = input.ConsumeRandomLengthString();
    const std::string otherSection = input.ConsumeRandomLengthString();
    const std::string otherKey = input.ConsumeRandomLengthString();
    const std::string text = input.ConsumeRemainingBytesAsString();

    IniFile file = IniFile::fromText(text);
    fuzz::require(file.text() == text, "an INI text reads back byte for byte");
    const std::string otherBefore = file.readString(otherSection, otherKey, kMissing);
    file.readInt(section, key, 0);

    if (!file.writeString(section, key, value))
        return 0;
    const std::string written(trimmed(value));
    fuzz::require(file.readString(section, key, kMissing) == written, "a written key reads back");
    const IniFile reread = IniFile::fromText(file.text());
    fuzz::require(reread.readString(section, key, kMissing) == written,
                  "a written key reads back from the saved text");
    if (!(sameName(section, otherSection) && sameName(key, otherKey))) {
        fuzz::require(reread.readString(otherSection, otherKey, kMissing) == otherBefore,
                      "writing one key leaves another as it was");
    }
    return 0;
}

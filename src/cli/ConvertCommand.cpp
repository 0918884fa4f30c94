#include "cli/ConvertCommand.h"

#include <charconv>
#include <optional>

#include "buffers/MemoryBuffer.h"
#include "cli/CliApp.h"
#include "text/UiText.h"

namespace zavuv::cli {

namespace {

// "123" or "0x7B"; nothing for anything else.
std::optional<long long> parseAddress(const std::string& text) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* first = text.data() + (hex ? 2 : 0);
    const char* last = text.data() + text.size();
    long long value = 0;
    const auto [end, ec] = std::from_chars(first, last, value, hex ? 16 : 10);
    if (ec != std::errc() || end != last || first == last)
        return std::nullopt;
    return value;
}

}  // namespace

int convertFile(const ConvertRequest& request, base::UserPort& port) {
    buffers::MemoryBuffer buffer(request.eeprom, port);
    buffer.loadFile(request.input);
    if (buffer.path() != request.input)
        return kExitUsage;  // the buffer has said why

    for (const std::string& spec : request.loadAt) {
        const auto at = spec.rfind('@');
        const auto address =
            at == std::string::npos ? std::nullopt : parseAddress(spec.substr(at + 1));
        if (!address) {
            port.showMessage("--load-at expects FILE@ADDRESS, got '" + spec + "'",
                             base::MessageIcon::Error, text::GetUiText(text::Msg::ProgramTitle));
            return kExitUsage;
        }
        const std::string file = spec.substr(0, at);
        buffer.loadAt(file, [&](int) { return address; });
        if (buffer.path() != file)
            return kExitUsage;
    }

    if (!buffer.saveAs(request.output))
        return kExitUsage;
    port.setStatus(
        text::formatUiText(request.eeprom ? text::Msg::EepromLength : text::Msg::FlashLength,
                           buffer.size(), buffer.size(), buffer.checksum16()));
    return kExitOk;
}

}  // namespace zavuv::cli

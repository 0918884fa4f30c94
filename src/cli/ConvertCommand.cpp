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

// Passes everything on and remembers whether an error was shown: a Load At
// that is refused leaves the buffer's path as it was, so only its message
// tells.
class ErrorWatch : public base::UserPort {
public:
    explicit ErrorWatch(base::UserPort& port) : port_(port) {}
    void setStatus(const std::string& text) override { port_.setStatus(text); }
    void showMessage(const std::string& text, base::MessageIcon icon,
                     const std::string& caption) override {
        errorShown_ = errorShown_ || icon == base::MessageIcon::Error;
        port_.showMessage(text, icon, caption);
    }
    base::Answer ask(const std::string& text, base::QuestionButtons buttons, base::MessageIcon icon,
                     base::Answer defaultAnswer, const std::string& caption) override {
        return port_.ask(text, buttons, icon, defaultAnswer, caption);
    }
    void setBusy(bool busy) override { port_.setBusy(busy); }
    bool errorShown() const { return errorShown_; }

private:
    base::UserPort& port_;
    bool errorShown_ = false;
};

int usageError(base::UserPort& port, const std::string& text) {
    port.showMessage(text, base::MessageIcon::Error, text::GetUiText(text::Msg::ProgramTitle));
    return kExitUsage;
}

}  // namespace

int convertFile(const ConvertRequest& request, base::UserPort& userPort) {
    ErrorWatch port(userPort);
    // An empty name would load as "no file": an empty buffer.
    if (request.input.empty())
        return usageError(port, text::formatUiText(text::Msg::FileUnreadable, request.input));
    buffers::MemoryBuffer buffer(request.eeprom, port);
    buffer.loadFile(request.input);
    if (buffer.path() != request.input)
        return kExitUsage;  // the buffer has said why
    if (buffer.size() == 0)
        return usageError(port, text::formatUiText(text::Msg::NothingToSave, request.input));

    for (const std::string& spec : request.loadAt) {
        const auto at = spec.rfind('@');
        const auto address =
            at == std::string::npos ? std::nullopt : parseAddress(spec.substr(at + 1));
        if (!address)
            return usageError(port, "--load-at expects FILE@ADDRESS, got '" + spec + "'");
        const std::string file = spec.substr(0, at);
        if (file.empty())
            return usageError(port, text::formatUiText(text::Msg::FileUnreadable, file));
        buffer.loadAt(file, [&](int) { return address; });
        if (buffer.path() != file || port.errorShown())
            return kExitUsage;  // the buffer has said why
    }

    if (!buffer.saveAs(request.output))
        return kExitUsage;
    port.setStatus(
        text::formatUiText(request.eeprom ? text::Msg::EepromLength : text::Msg::FlashLength,
                           buffer.size(), buffer.size(), buffer.checksum16()));
    return kExitOk;
}

}  // namespace zavuv::cli

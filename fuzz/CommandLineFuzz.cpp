// The two command-line parsers on any input. The raw line: what it finds are
// pieces of the line, and a line put together from a quoted path, one space
// and a switch gives back that path and that switch. The POSIX arguments
// (the input split at NUL bytes): the first is the path, the rest the switch.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "workspace/CommandLine.h"

using namespace zavuv;
using workspace::CommandLine;

namespace {

void checkRawLine(std::string_view line) {
    const CommandLine parsed = workspace::parseRawCommandLine(line);
    fuzz::require(line.find(parsed.projectPath) != line.npos, "the path is part of the line");
    fuzz::require(line.ends_with(parsed.switchText), "the switch ends the line");
    fuzz::require(parsed.projectPath.size() + parsed.switchText.size() <= line.size(),
                  "path and switch do not overlap");
    workspace::isAutoProgramSwitch(parsed.switchText);
}

// A path without quotes and a switch after it, as a shortcut would start the program.
void checkBuiltLine(std::string_view text) {
    const auto split = text.find('"');
    const std::string path(text.substr(0, split));
    const std::string switchText(split == text.npos ? "" : text.substr(split + 1));
    if (path.empty())
        return;
    const std::string line = "\"C:\\Program Files\\zavuv.exe\" \"" + path + "\" " + switchText;
    const CommandLine parsed = workspace::parseRawCommandLine(line);
    fuzz::require(parsed.projectPath == path, "a quoted path comes back whole");
    fuzz::require(parsed.switchText == switchText, "the switch after one space comes back whole");
}

void checkArguments(std::string_view text) {
    std::vector<std::string> arguments;
    for (std::size_t start = 0; start <= text.size();) {
        const auto end = std::min(text.find('\0', start), text.size());
        arguments.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    const CommandLine parsed = workspace::commandLineFromArguments(arguments);
    std::string joined;
    for (std::size_t i = 1; i < arguments.size(); ++i)
        joined += (i > 1 ? " " : "") + arguments[i];
    fuzz::require(parsed.projectPath == arguments.front(), "the first argument is the path");
    fuzz::require(parsed.switchText == joined, "the other arguments are the switch");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkRawLine(text);
    checkBuiltLine(text);
    checkArguments(text);
    return 0;
}

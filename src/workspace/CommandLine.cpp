#include "workspace/CommandLine.h"

#include <algorithm>

namespace zavuv::workspace {

namespace {

// What follows the program name and its separator.
std::string_view afterProgramName(std::string_view line) {
    std::size_t end = 0;
    if (line.starts_with('"')) {
        const auto closing = line.find('"', 1);
        end = closing == line.npos ? line.size() : closing + 1;
    } else {
        end = std::min(line.find(' '), line.size());
    }
    if (end < line.size()) {
        ++end;
    }
    return line.substr(end);
}

}  // namespace

CommandLine parseRawCommandLine(std::string_view line) {
    const std::string_view rest = afterProgramName(line);
    if (!rest.starts_with('"')) {
        return {std::string(rest), {}};
    }
    const auto closing = rest.find('"', 1);
    if (closing == rest.npos) {
        return {std::string(rest.substr(1)), {}};
    }
    CommandLine result{std::string(rest.substr(1, closing - 1)), {}};
    const std::size_t switchStart = closing + 2;
    if (switchStart < rest.size()) {
        result.switchText = rest.substr(switchStart);
    }
    return result;
}

CommandLine commandLineFromArguments(std::span<const std::string> arguments) {
    CommandLine result;
    if (arguments.empty()) {
        return result;
    }
    result.projectPath = arguments.front();
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (i > 1) {
            result.switchText += ' ';
        }
        result.switchText += arguments[i];
    }
    return result;
}

bool isAutoProgramSwitch(std::string_view switchText) {
    return switchText == "-autoprogram";
}

}  // namespace zavuv::workspace
